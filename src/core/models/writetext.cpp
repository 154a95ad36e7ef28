#include "core/models/writetext.h"

#include <QSet>

#include "core/codec/codec.h"
#include "core/models/haldrivonexa.h"
#include "core/models/kovalindre.h"
#include "core/models/longreply.h"
#include "core/models/luvero.h"
#include "core/models/modelcore.h"
#include "core/models/pellitor.h"
#include "core/models/quarn.h"
#include "core/models/registry.h"
#include "core/models/sorvanell.h"
#include "core/models/zentavira.h"

namespace morla {

namespace {

// The flags box after it has ticked the nine restriction boxes and been written back from
// them, as a write does first: "1" or "0" for each of the nine.
QString restrictionFlags(const QString& flags) {
    QString out;
    for (int k = 0; k < 9; ++k) out += k < flags.size() && flags[k] == u'1' ? u'1' : u'0';
    return out;
}

// The firmware box after a read: the firmware code of the map.
QString firmwareOf(const ModelInfo& m, const QString& map) {
    return m.firmwareAsCharacters ? map.mid(2, 2) : HexToDec(map.mid(2, 2));
}

// Key statuses: the generic rule leaves the status as it was for an empty key.
QString keyStatus(const QString& key, int keyLength) {
    return KeyStatusFor(key, keyLength).value_or(QString());
}
QString fullKeyStatus(const QString& key, int keyLength) {
    QString status = keyStatus(key, keyLength);
    if (!key.isEmpty() && key.size() < keyLength) status = QStringLiteral("DesActivado");
    return status;
}

struct Common {
    QString firmware, classCode, installationCode;
};

// The Lúvero, Sorvanell, Zentavira and Haldrivonexa: every box from the layout's decode, the
// flags box as the nine restriction boxes write it back.
WriteText layoutWrite(const ModelInfo& m, const layout::Layout& l, const Common& c,
                      const QString& map) {
    layout::Values v = layout::Decode(l, map);
    const QString flags = QStringLiteral("MorTexBan");
    if (v.contains(flags)) v[flags] = restrictionFlags(v.value(flags));
    WriteText w;
    w.key = v.value(QStringLiteral("MorTexResCla"));
    w.keyStatus = m.id == ModelId::Sorvanell ? sorvanell::KeyStatusFor(w.key)
                  : m.id == ModelId::Luvero  ? keyStatus(w.key, m.keyLength)
                                             : fullKeyStatus(w.key, m.keyLength);
    const QString written = layout::WrittenMap(
        l, layout::Header(m.kind(), c.firmware, c.classCode, c.installationCode), v);
    w.data = layout::DataText(l, written);
    w.frame = layout::Frame(l, written, !c.classCode.isEmpty());
    for (const layout::Field& f : l.fields)
        if (!f.control.isEmpty()) w.boxes.append({f.control, v.value(f.control)});
    return w;
}

// The Quarn, Pellitor and Kovalindre: the boxes a read does not fill keep the configured
// defaults the panel shows them with; the options field splits into flags box and trunk.
WriteText longWrite(const ModelInfo& m, const layout::Layout& l, const Common& c,
                    const QString& map, const QStringList& record) {
    layout::Values v = layout::Decode(l, map);
    const std::span<const longreply::RecordFill> fills =
        m.id == ModelId::Quarn      ? quarn::RecordFills()
        : m.id == ModelId::Pellitor ? pellitor::RecordFills()
                                    : kovalindre::RecordFills();
    for (const longreply::RecordFill& f : fills)
        if (f.target == longreply::Target::Text && !v.contains(QLatin1String(f.control)))
            v[QLatin1String(f.control)] = record.value(f.field);
    // The local-call list shows only one of its items; anything else selects none.
    const QString list = QStringLiteral("MorComConDLL");
    if (v.contains(list) && !pellitor::LocalDigitItems().contains(v.value(list))) v[list].clear();
    const QString options = QLatin1String(longreply::kOptions);
    const QString flags = restrictionFlags(v.value(options).left(6));
    v[options] = longreply::OptionsValue(flags, v.value(options).mid(6, 1));
    WriteText w;
    w.key = v.value(QStringLiteral("MorTexResCla"));
    w.keyStatus = keyStatus(w.key, 4);
    const QString written =
        layout::WrittenMap(l, longreply::Header(m, c.firmware, c.classCode, c.installationCode), v);
    w.data = layout::DataText(l, written);
    w.frame = layout::Frame(l, written, !c.classCode.isEmpty());
    v[options] = flags;
    QSet<QString> listed;
    for (const layout::Field& f : l.fields)
        if (!f.control.isEmpty() && !listed.contains(f.control)) {
            listed.insert(f.control);
            w.boxes.append({f.control, v.value(f.control)});
        }
    return w;
}

}  // namespace

bool WriteText::keyAccepted(const ModelInfo& m) const {
    return keyStatus == QStringLiteral("Activado") && key.size() >= m.keyLength;
}

std::optional<WriteText> WriteOfMap(const ModelInfo& m, const QString& map,
                                    const QString& installationCode, const QString& classCode,
                                    const QStringList& configRecord, QString* refusal) {
    auto refuse = [refusal](const QString& why) {
        if (refusal) *refusal = why;
        return std::nullopt;
    };
    if (!m.hasBuildFrame)
        return refuse(QStringLiteral("el %1 no tiene escritura completa: se programa campo por "
                                     "campo desde su panel")
                          .arg(m.dispatch()));
    // The shortest map a model's panel decodes: the Sorvanell's frame stands for its map.
    const int mapLength = m.id == ModelId::Sorvanell ? 40 : m.replyLength - 4;
    QString code = m.code();
    code.replace(u':', u'A');
    if (map.size() < mapLength || (!map.startsWith(code) && !map.startsWith(m.kind())))
        return refuse(QStringLiteral("el mapa no es de un %1").arg(m.dispatch()));

    const Common c{firmwareOf(m, map), classCode, installationCode};
    WriteText w;
    switch (m.id) {
        case ModelId::Luvero:
            w = layoutWrite(m, luvero::Layout(), c, map);
            break;
        case ModelId::Sorvanell:
            w = layoutWrite(m, sorvanell::Layout(), c, map);
            break;
        case ModelId::Zentavira:
            w = layoutWrite(m, zentavira::Layout(), c, map);
            break;
        case ModelId::Haldrivonexa:
            w = layoutWrite(m, haldrivonexa::Layout(), c, map);
            break;
        case ModelId::Quarn:
            w = longWrite(m, quarn::Layout(c.firmware), c, map, configRecord);
            break;
        case ModelId::Pellitor:
            w = longWrite(m, pellitor::Layout(), c, map, configRecord);
            break;
        case ModelId::Kovalindre:
            w = longWrite(m, kovalindre::Layout(), c, map, configRecord);
            break;
        case ModelId::Tervolinda:
            return std::nullopt;  // no whole write (refused above)
    }
    w.firmware = c.firmware;
    return w;
}

}  // namespace morla
