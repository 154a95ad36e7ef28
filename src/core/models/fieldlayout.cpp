#include "core/models/fieldlayout.h"

#include <QStringList>
#include <algorithm>

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
using layout::EverySecond;
using layout::Join;
using layout::Run;

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
        out.push_back({name, layout::PositionsText(at), text, compared});
    }
};

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
    add(QStringLiteral("MorTexResCla"), Run(layout.keyAt, longreply::kKeyDigits), v.key);
    add(QStringLiteral("Opciones"), digitsOf(longreply::kOptionBits), v.flags + v.trunk);
    if (layout.localDigitsAt > 0)
        add(QStringLiteral("MorComConDLL"), {layout.localDigitsAt}, v.localDigits);
    for (const longreply::Field& field : layout.fields) {
        if (!field.read) continue;
        Positions at;
        switch (field.kind) {
            case longreply::Kind::Number:
                at = EverySecond(field.at + 1, longreply::kNumberDigits);
                break;
            case longreply::Kind::Key:
                at = Run(field.at, longreply::kKeyDigits);
                break;
            case longreply::Kind::Dial:
                at = Join(Run(field.at, field.count), Run(field.at2, field.count2));
                break;
        }
        add(field.box, at, v.boxes.value(field.box));
    }
}

// Every field of a declared layout, by the caption it has there or its control.
void fromLayout(Fields& f, const layout::Layout& l, const QString& map) {
    for (const layout::Field& field : l.fields) {
        if (field.encoding == layout::Encoding::Fixed) continue;
        f.add(field.caption.isEmpty() ? field.control : field.caption, field.readPlaces(),
              layout::DecodeField(field, map));
    }
}

void tervolindaFields(Fields& f, const QString& map, const QString& firmwareCode) {
    const auto v = tervolinda::DecodeMap(map, firmwareCode);
    if (!v) return;
    if (v->variant == tervolinda::Variant::WithVoice) {
        f.add(QStringLiteral("MorTexResCla"), EverySecond(14, 4), v->key);
        return;
    }
    f.add(QStringLiteral("MorFraPrivElim1"), Run(11, 2), tick(v->removeFirst1));
    f.add(QStringLiteral("MorFraPrivNum9"), Run(13, 2), tick(v->blockStart9));
    f.add(QStringLiteral("MorTexResCla"), EverySecond(16, 4), v->key);
    f.add(QStringLiteral("MorTxtPrivClvSal"), EverySecond(24, 4), v->exitKey);
}

bool isLongReply(ModelId id) {
    return id == ModelId::Quarn || id == ModelId::Pellitor || id == ModelId::Kovalindre;
}
}  // namespace

const layout::Layout* DeclaredLayout(const ModelInfo& model) {
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
        case ModelId::Pellitor:
        case ModelId::Tervolinda:
        case ModelId::Kovalindre:
            break;
    }
    return nullptr;
}

std::vector<ShownField> ShownFields(const ModelInfo& model, const QString& firmwareCode,
                                    const QString& map) {
    Fields f;
    // The models whose data text carries the installation code keep it as the modifier.
    const bool modifierWritten = model.id != ModelId::Sorvanell && model.id != ModelId::Tervolinda;
    f.add(QStringLiteral("MorTexResMod"), Run(7, 4), map.mid(6, 4), modifierWritten);
    switch (model.id) {
        case ModelId::Sorvanell:
        case ModelId::Luvero:
        case ModelId::Zentavira:
        case ModelId::Haldrivonexa:
            fromLayout(f, *DeclaredLayout(model), map);
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
