#include "core/models/fieldlayout.h"

#include "core/codec/codec.h"
#include "core/models/kovalindre.h"
#include "core/models/pellitor.h"
#include "core/models/quarn.h"
#include "core/models/tervolinda.h"
#include "core/models/zentavira.h"

namespace morla {

namespace {
using F = FieldForm;

// Map 1-10. The model code, firmware and user type of a reply are the device's own; the frame
// has its kind byte, firmware and class there. The installation code is kept as the modifier
// by the models whose data text carries it.
std::vector<MapField> header(bool modifierWritten) {
    return {{QStringLiteral("Modelo"), 1, 2, 0, 0, F::Hex, false},
            {QStringLiteral("MorTexResFirm"), 3, 2, 0, 0, F::Hex, false},
            {QStringLiteral("MorTexResUs"), 5, 2, 0, 0, F::Hex, false},
            {QStringLiteral("MorTexResMod"), 7, 4, 0, 0, F::Hex, modifierWritten}};
}

MapField field(const QString& name, int at, int length, FieldForm form = F::Hex) {
    return {name, at, length, 0, 0, form, true};
}

QString element(const char* array, int k) {
    return QString::fromLatin1(array) + QStringLiteral("%1").arg(k, 2, 10, QLatin1Char('0'));
}

std::vector<MapField> luveroFields() {
    auto out = header(true);
    out.push_back(field(QStringLiteral("MorTexResCla"), 11, 4, F::Dial));
    out.push_back(field(QStringLiteral("Opciones"), 17, 4));
    return out;
}

std::vector<MapField> zentaviraFields() {
    auto out = header(true);
    out.push_back(field(QStringLiteral("Opciones"), 12, 3));
    out.push_back(field(QStringLiteral("MorTexUniDurL"), 17, 6));
    out.push_back(field(QStringLiteral("MorTexUniDurP"), 23, 6));
    out.push_back(field(QStringLiteral("MorTexUniCon"), 29, 6, F::Dial));
    out.push_back(field(QStringLiteral("MorTexResCla"), 35, zentavira::kKeyLength, F::Dial));
    for (int k = 0; k < zentavira::kShortMemories; ++k)
        out.push_back(field(element("MorTxtUniMe4", k), 39 + zentavira::kShortWidth * k,
                            zentavira::kShortWidth, F::Dial));
    // Memory 2 ends block 1 and goes on in block 2.
    for (int k = 0; k < zentavira::kLongMemories; ++k) {
        const QString name = element("MorTxtUniMe16", k);
        if (k == 2)
            out.push_back({name, 127, 2, 133, 14, F::Dial, true});
        else
            out.push_back(field(name, k < 2 ? 95 + 16 * k : 147 + 16 * (k - 3),
                                zentavira::kLongWidth, F::Dial));
    }
    return out;
}

std::vector<MapField> haldrivonexaFields() {
    auto out = header(true);
    out.push_back(field(QStringLiteral("MorTexResCla"), 11, 4, F::Dial));
    out.push_back(field(QStringLiteral("MorTexMultCon"), 17, 6, F::Dial));
    out.push_back(field(QStringLiteral("Opciones"), 23, 4));
    out.push_back(field(QStringLiteral("MorChkMultResNum0XX"), 27, 3));
    out.push_back(field(QStringLiteral("MorChkMultResLarDis"), 30, 3));
    out.push_back(field(QStringLiteral("MorTexMultDurL"), 33, 6));
    out.push_back(field(QStringLiteral("MorTexMultDurP"), 39, 6));
    return out;
}

std::vector<MapField> sorvanellFields() {
    // Its data text starts at map 11: the installation code is not stored.
    auto out = header(false);
    out.push_back(field(QStringLiteral("MorTxtAleAut"), 11, 10, F::LowBits));
    out.push_back(field(QStringLiteral("MorTexResCla"), 21, 10, F::LowBits));
    out.push_back(field(QStringLiteral("MorTxtAleDigAler"), 31, 2, F::Dial));
    out.push_back(field(QStringLiteral("Opciones"), 33, 2));
    out.push_back(field(QStringLiteral("MorTexAleNumInter"), 35, 4));
    return out;
}

std::vector<MapField> tervolindaFields(const QString& firmwareCode) {
    auto out = header(false);
    switch (tervolinda::VariantOf(firmwareCode)) {
        case tervolinda::Variant::WithoutVoice:
            out.push_back(field(QStringLiteral("MorFraPrivElim1"), 11, 2));
            out.push_back(field(QStringLiteral("MorFraPrivNum9"), 13, 2));
            out.push_back(field(QStringLiteral("MorTexResCla"), 15, 8, F::Dial));
            out.push_back(field(QStringLiteral("MorTxtPrivClvSal"), 23, 8, F::Dial));
            break;
        case tervolinda::Variant::WithVoice:
            out.push_back(field(QStringLiteral("MorTexResCla"), 13, 8, F::Dial));
            break;
        case tervolinda::Variant::Unknown:
            break;
    }
    return out;
}

// The frame's second block carries the data up to map 234 and no further.
constexpr int kFrameCarriesTo = 234;

std::vector<MapField> longReply(const longreply::Layout& layout) {
    auto out = header(true);
    const int keyWidth = longreply::kKeyDigits + 1;
    out.push_back(field(QStringLiteral("MorTexResCla"), 11, keyWidth, F::Dial));
    out.push_back(field(QStringLiteral("Opciones"), 17, 4));
    if (layout.localDigitsAt > 0)
        out.push_back(field(QStringLiteral("MorComConDLL"), layout.localDigitsAt, 1));
    for (const longreply::Field& f : layout.fields) {
        switch (f.kind) {
            case longreply::Kind::Number:
                out.push_back(field(f.box, f.at, 2 * longreply::kNumberDigits));
                break;
            case longreply::Kind::Key:
                out.push_back(field(f.box, f.at, keyWidth, F::Dial));
                break;
            case longreply::Kind::Dial:
                out.push_back({f.box, f.at, f.count, f.at2, f.count2, F::Dial, true});
                break;
        }
    }
    if (layout.keyAt != 11)
        out.push_back(field(QStringLiteral("MorTexResCla"), layout.keyAt, keyWidth, F::Dial));
    // Data character k lands on map k + 6 in block 1 and k + 10 in block 2.
    const int dataEnd = layout.dataLength <= 122 ? layout.dataLength + 6 : layout.dataLength + 10;
    const int carried = qMin(dataEnd, kFrameCarriesTo);
    for (MapField& f : out)
        if (f.last() > carried) f.compared = false;
    return out;
}
}  // namespace

QString MapField::positions() const {
    const auto span = [](int a, int n) {
        return n == 1 ? QString::number(a) : QStringLiteral("%1-%2").arg(a).arg(a + n - 1);
    };
    QString out = span(at, length);
    if (length2 > 0) out += QStringLiteral(", ") + span(at2, length2);
    return out;
}

QString MapField::digitsOf(const QString& map) const {
    QString out = map.mid(at - 1, length);
    if (length2 > 0) out += map.mid(at2 - 1, length2);
    return out;
}

std::vector<MapField> FieldLayout(const ModelInfo& model, const QString& firmwareCode) {
    switch (model.id) {
        case ModelId::Sorvanell:
            return sorvanellFields();
        case ModelId::Luvero:
            return luveroFields();
        case ModelId::Zentavira:
            return zentaviraFields();
        case ModelId::Haldrivonexa:
            return haldrivonexaFields();
        case ModelId::Quarn:
            return longReply(quarn::Layout(firmwareCode));
        case ModelId::Pellitor:
            return longReply(pellitor::Layout());
        case ModelId::Tervolinda:
            return tervolindaFields(firmwareCode);
        case ModelId::Kovalindre:
            return longReply(kovalindre::Layout());
    }
    return {};
}

QString KeptForm(FieldForm form, const QString& digits) {
    QString out;
    out.reserve(digits.size());
    for (QChar c : digits) {
        const bool hex = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
        switch (form) {
            case F::Hex:
                out += c;
                break;
            case F::Dial:
                out += c == 'A' ? QChar('0') : c == 'B' ? QChar('*') : c == 'C' ? QChar('#') : c;
                break;
            case F::LowBits:
                out += hex ? QString(c) : DigitToHex(c.unicode() & 0x0F);
                break;
        }
    }
    return out;
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

std::vector<FieldDifference> CompareFields(const std::vector<MapField>& layout,
                                           const QString& written, const QString& readBack) {
    std::vector<FieldDifference> out;
    for (const MapField& f : layout) {
        if (!f.compared) continue;
        const QString w = KeptForm(f.form, f.digitsOf(written));
        const QString r = KeptForm(f.form, f.digitsOf(readBack));
        if (w != r) out.push_back({f.name, f.positions(), w, r, QString()});
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
