#include "core/models/fieldlayout.h"

#include <QStringList>
#include <algorithm>

#include "core/codec/codec.h"
#include "core/models/haldrivonexa.h"
#include "core/models/kovalindre.h"
#include "core/models/luvero.h"
#include "core/models/pellitor.h"
#include "core/models/quarn.h"
#include "core/models/sorvanell.h"
#include "core/models/tervolinda.h"
#include "core/models/zentavira.h"

namespace morla {

namespace {
using Positions = std::vector<int>;

Positions run(int at, int count) {
    Positions out;
    for (int i = 0; i < count; ++i) out.push_back(at + i);
    return out;
}

// Every second position from `at`: the digits of "0"-digit pairs.
Positions everySecond(int at, int count) {
    Positions out;
    for (int i = 0; i < count; ++i) out.push_back(at + 2 * i);
    return out;
}

Positions join(Positions a, const Positions& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Positions digitsOf(std::span<const OptionBit> bits) {
    Positions out;
    for (const OptionBit& b : bits)
        if (std::find(out.begin(), out.end(), b.mapPos) == out.end()) out.push_back(b.mapPos);
    std::sort(out.begin(), out.end());
    return out;
}

struct Fields {
    std::vector<ShownField> out;
    void add(const QString& name, const Positions& at, const QString& text, bool compared = true) {
        out.push_back({name, PositionsText(at), text, compared});
    }
};

QString element(const char* array, int k) {
    return QString::fromLatin1(array) + QStringLiteral("%1").arg(k, 2, 10, QLatin1Char('0'));
}

QString tick(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

const longreply::Layout& longLayout(ModelId id, const QString& firmwareCode) {
    if (id == ModelId::Quarn) return quarn::Layout(firmwareCode);
    if (id == ModelId::Pellitor) return pellitor::Layout();
    return kovalindre::Layout();
}

void longReply(Fields& f, const longreply::Layout& layout, const QString& map) {
    const longreply::Values v = longreply::Decode(layout, map);
    const int carried = longreply::FrameCarriesTo(layout);
    auto add = [&](const QString& name, const Positions& at, const QString& text) {
        f.add(name, at, text, at.back() <= carried);
    };
    add(QStringLiteral("MorTexResCla"), run(layout.keyAt, longreply::kKeyDigits), v.key);
    add(QStringLiteral("Opciones"), digitsOf(longreply::kOptionBits), v.flags + v.trunk);
    if (layout.localDigitsAt > 0)
        add(QStringLiteral("MorComConDLL"), {layout.localDigitsAt}, v.localDigits);
    for (const longreply::Field& field : layout.fields) {
        if (!field.read) continue;
        Positions at;
        switch (field.kind) {
            case longreply::Kind::Number:
                at = everySecond(field.at + 1, longreply::kNumberDigits);
                break;
            case longreply::Kind::Key:
                at = run(field.at, longreply::kKeyDigits);
                break;
            case longreply::Kind::Dial:
                at = join(run(field.at, field.count), run(field.at2, field.count2));
                break;
        }
        add(field.box, at, v.boxes.value(field.box));
    }
}

void zentaviraFields(Fields& f, const QString& map) {
    const zentavira::Panel v = zentavira::Decode(map).panel;
    f.add(QStringLiteral("Opciones"), digitsOf(zentavira::kOptionBits), v.flags);
    f.add(QStringLiteral("MorTexUniDurL"), everySecond(18, 3), v.durationFree);
    f.add(QStringLiteral("MorTexUniDurP"), everySecond(24, 3), v.durationProhibited);
    f.add(QStringLiteral("MorTexUniCon"), everySecond(30, 3), v.trunk);
    f.add(QStringLiteral("MorTexResCla"), run(35, zentavira::kKeyLength), v.key);
    for (int k = 0; k < zentavira::kShortMemories; ++k)
        f.add(element("MorTxtUniMe4", k), run(39 + zentavira::kShortWidth * k, 4),
              v.shortMemories.value(k));
    // Memory 2 ends block 1 and goes on in block 2.
    for (int k = 0; k < zentavira::kLongMemories; ++k) {
        const Positions at = k < 2    ? run(95 + 16 * k, 16)
                             : k == 2 ? join(run(127, 2), run(133, 14))
                                      : run(147 + 16 * (k - 3), 16);
        f.add(element("MorTxtUniMe16", k), at, v.longMemories.value(k));
    }
}

void haldrivonexaFields(Fields& f, const QString& map) {
    const haldrivonexa::Panel v = haldrivonexa::Decode(map);
    f.add(QStringLiteral("MorTexResCla"), run(11, haldrivonexa::kKeyLength), v.key);
    f.add(QStringLiteral("MorTexMultCon"), everySecond(18, 3), v.trunk);
    f.add(QStringLiteral("Opciones"), digitsOf(haldrivonexa::kOptionBits), v.flags);
    f.add(QStringLiteral("MorChkMultResNum0XX"), run(27, 3), v.prefixes);
    f.add(QStringLiteral("MorChkMultResLarDis"), {30, 32}, v.longDistance);
    f.add(QStringLiteral("MorTexMultDurL"), everySecond(34, 3), v.durationFree);
    f.add(QStringLiteral("MorTexMultDurP"), everySecond(40, 3), v.durationProhibited);
}

void sorvanellFields(Fields& f, const QString& map) {
    // The "*" of the programming number and of the key (map 16 and 26) is never read.
    f.add(QStringLiteral("MorTxtAleAut"), {12, 14, 18, 20}, sorvanell::DecodeProgramming(map));
    f.add(QStringLiteral("MorTexResCla"), {22, 24, 28, 30}, sorvanell::DecodeKey(map));
    f.add(QStringLiteral("MorTxtAleDigAler"), {32}, sorvanell::DecodeAlertDigit(map));
    f.add(QStringLiteral("MorChkAleBlqGrb"), {33}, tick(sorvanell::DecodeBlqGrb(map)));
    f.add(QStringLiteral("MorChkAleTono"), {33}, tick(sorvanell::DecodeTone(map)));
    f.add(QStringLiteral("Opciones"), {33, 34}, sorvanell::DecodeFlags(map));
    f.add(QStringLiteral("MorTexAleNumInter"), {36, 38}, sorvanell::DecodeCount(map));
}

void tervolindaFields(Fields& f, const QString& map, const QString& firmwareCode) {
    const auto v = tervolinda::DecodeMap(map, firmwareCode);
    if (!v) return;
    if (v->variant == tervolinda::Variant::WithVoice) {
        f.add(QStringLiteral("MorTexResCla"), everySecond(14, 4), v->key);
        return;
    }
    f.add(QStringLiteral("MorFraPrivElim1"), run(11, 2), tick(v->removeFirst1));
    f.add(QStringLiteral("MorFraPrivNum9"), run(13, 2), tick(v->blockStart9));
    f.add(QStringLiteral("MorTexResCla"), everySecond(16, 4), v->key);
    f.add(QStringLiteral("MorTxtPrivClvSal"), everySecond(24, 4), v->exitKey);
}

bool isLongReply(ModelId id) {
    return id == ModelId::Quarn || id == ModelId::Pellitor || id == ModelId::Kovalindre;
}
}  // namespace

QString PositionsText(const std::vector<int>& positions) {
    QStringList parts;
    for (size_t i = 0; i < positions.size();) {
        size_t j = i;
        while (j + 1 < positions.size() && positions[j + 1] == positions[j] + 1) ++j;
        parts << (j == i ? QString::number(positions[i])
                         : QStringLiteral("%1-%2").arg(positions[i]).arg(positions[j]));
        i = j + 1;
    }
    return parts.join(QStringLiteral(", "));
}

std::vector<ShownField> ShownFields(const ModelInfo& model, const QString& firmwareCode,
                                    const QString& map) {
    Fields f;
    // The models whose data text carries the installation code keep it as the modifier.
    const bool modifierWritten = model.id != ModelId::Sorvanell && model.id != ModelId::Tervolinda;
    f.add(QStringLiteral("MorTexResMod"), run(7, 4), map.mid(6, 4), modifierWritten);
    switch (model.id) {
        case ModelId::Sorvanell:
            sorvanellFields(f, map);
            break;
        case ModelId::Luvero:
            f.add(QStringLiteral("MorTexResCla"), run(11, luvero::kKeyLength),
                  luvero::DecodeKey(map));
            f.add(QStringLiteral("Opciones"), digitsOf(luvero::kOptionBits),
                  luvero::DecodeFlags(map));
            break;
        case ModelId::Zentavira:
            zentaviraFields(f, map);
            break;
        case ModelId::Haldrivonexa:
            haldrivonexaFields(f, map);
            break;
        case ModelId::Quarn:
        case ModelId::Pellitor:
        case ModelId::Kovalindre:
            longReply(f, longLayout(model.id, firmwareCode), map);
            break;
        case ModelId::Tervolinda:
            tervolindaFields(f, map, firmwareCode);
            break;
    }
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
    if (isLongReply(model.id)) {
        const QString firmware =
            model.firmwareAsCharacters ? map.mid(2, 2) : HexToDec(map.mid(2, 2));
        const int carried = longreply::FrameCarriesTo(longLayout(model.id, firmware));
        // Its fill and "6E" are no field: what follows the fields the frame carries is "F".
        map = map.left(carried).leftJustified(260, 'F');
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
