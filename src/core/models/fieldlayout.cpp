#include "core/models/fieldlayout.h"

#include <QStringList>

#include "core/codec/codec.h"
#include "core/models/haldrivonexa.h"
#include "core/models/kovalindre.h"
#include "core/models/layout.h"
#include "core/models/luvero.h"
#include "core/models/pellitor.h"
#include "core/models/quarn.h"
#include "core/models/sorvanell.h"
#include "core/models/tervolinda.h"
#include "core/models/zentavira.h"

namespace morla {

namespace {
using Positions = std::vector<int>;
using layout::Run;

struct Fields {
    std::vector<ShownField> out;
    void add(const QString& name, const Positions& at, const QString& text, bool compared = true) {
        out.push_back({name, layout::PositionsText(at), text, compared});
    }
};

// Every field a read shows, by the caption it has there or its control; what the frame does
// not carry is not compared.
void fromLayout(Fields& f, const layout::Layout& l, const QString& map) {
    for (const layout::Field& field : l.fields) {
        if (field.encoding == layout::Encoding::Fixed || !field.read) continue;
        const Positions at = field.readPlaces();
        f.add(field.caption.isEmpty() ? field.control : field.caption, at,
              layout::DecodeField(field, map), at.empty() || at.back() <= l.carriedTo());
    }
}

}  // namespace

const layout::Layout* DeclaredLayout(const ModelInfo& model, const QString& firmwareCode) {
    switch (model.id) {
        case ModelId::Sorvanell:
            return &sorvanell::Layout();
        case ModelId::Luvero:
            return &luvero::Layout();
        case ModelId::Zentavira:
            return &zentavira::Layout();
        case ModelId::Haldrivonexa:
            return &haldrivonexa::Layout();
        case ModelId::Quarn:
            return &quarn::Layout(firmwareCode);
        case ModelId::Pellitor:
            return &pellitor::Layout();
        case ModelId::Kovalindre:
            return &kovalindre::Layout();
        case ModelId::Tervolinda:
            return tervolinda::Layout(firmwareCode);
    }
    return nullptr;
}

std::vector<ShownField> ShownFields(const ModelInfo& model, const QString& firmwareCode,
                                    const QString& map) {
    Fields f;
    // The models whose data text carries the installation code keep it as the modifier.
    const bool modifierWritten = model.id != ModelId::Sorvanell && model.id != ModelId::Tervolinda;
    f.add(QStringLiteral("MorTexResMod"), Run(7, 4), map.mid(6, 4), modifierWritten);
    if (const layout::Layout* l = DeclaredLayout(model, firmwareCode)) fromLayout(f, *l, map);
    return f.out;
}

QString MapOfSentFrame(const ModelInfo& model, const QString& frame, bool withClassCode) {
    // Nothing that could hold a header: nothing to put back.
    if (model.id == ModelId::Tervolinda || frame.size() < 6) return frame;
    QString map = frame;
    if (!withClassCode) map.insert(4, QStringLiteral("00"));
    if (model.checksum == ChecksumPolicy::None) return map;
    // A damaged record stays damaged: no checksum is made anew over bad digits.
    if (FrameChecksum(map.left(128)) != map.mid(128, 2)) return map;
    const layout::Layout* l = DeclaredLayout(model, FirmwareOfMap(map, model));
    if (l && l->block2To > 0) {
        // Its fill and "6E" are no field: what follows the fields the frame carries is "F".
        map = map.left(l->block2To).leftJustified(260, 'F');
        return map + FrameChecksum(map.mid(132, 128)) + QStringLiteral("03FE");
    }
    if (model.blocks() > 1 && map.size() >= 262)
        map.replace(260, 2, FrameChecksum(map.mid(132, 128)));
    return map;
}

QString MapOfReply(const QByteArray& reply) {
    QString map;
    map.reserve(reply.size());
    for (qsizetype i = 4; i < reply.size(); ++i) map += DigitToHex(reply.at(i) & 0x0F);
    return map;
}

bool MapIsOfModel(const QString& map, const ModelInfo& model) {
    QString code = model.code();
    code.replace(':', 'A');
    return map.left(2) == code;
}

QString FirmwareOfMap(const QString& map, const ModelInfo& model) {
    const QString digits = map.mid(2, 2);
    if (model.firmwareAsCharacters || model.id == ModelId::Tervolinda) return digits;
    return HexToDec(digits);
}

std::vector<FieldDifference> CompareFields(const ModelInfo& model, const QString& firmwareCode,
                                           const QString& written, const QString& readBack) {
    const std::vector<ShownField> w = ShownFields(model, firmwareCode, written);
    const std::vector<ShownField> r = ShownFields(model, firmwareCode, readBack);
    std::vector<FieldDifference> out;
    for (size_t i = 0; i < w.size() && i < r.size(); ++i) {
        if (!w[i].compared || w[i].text == r[i].text) continue;
        out.push_back({w[i].name, w[i].positions, w[i].text, r[i].text, QString()});
    }
    return out;
}

QString DifferencesText(const std::vector<FieldDifference>& differences) {
    QStringList parts;
    for (const FieldDifference& d : differences)
        parts << (d.caption.isEmpty()
                      ? QStringLiteral("%1 (%2): escrito %3, leído %4")
                            .arg(d.name, d.positions, d.written, d.readBack)
                      : QStringLiteral("%1 (%2, %3): escrito %4, leído %5")
                            .arg(d.caption, d.name, d.positions, d.written, d.readBack));
    return parts.join(QStringLiteral("; "));
}

}  // namespace morla
