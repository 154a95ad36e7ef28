#include "core/models/longreply.h"

#include "core/codec/codec.h"
#include "core/models/modelcore.h"
#include "core/models/registry.h"

namespace morla::longreply {

using layout::Encoding;

layout::Field Number(const QString& control, int at, bool read) {
    return {.control = control,
            .encoding = Encoding::Number,
            .places = layout::EverySecond(at + 1, 3),
            .spaced = true,
            .read = read};
}

layout::Field Dial(const QString& control, std::vector<int> places) {
    return {.control = control, .encoding = Encoding::DialDigits, .places = std::move(places)};
}

layout::Field Key(const QString& control, int at) {
    return Dial(control, layout::Run(at, kKeyDigits));
}

QString Element(const char* box, int k) {
    return QString::fromLatin1(box) + QStringLiteral("%1").arg(k, 2, 10, QLatin1Char('0'));
}

layout::Layout Table(const Shape& shape, std::vector<layout::Field> boxes) {
    const QString key = QStringLiteral("MorTexResCla");
    layout::Field copy = Key(key, 11);
    copy.read = false;
    // Options 1, 3, 4, 5, 6 and the trunk (character 7) in digits 17, 18 and 20.
    // clang-format off
    layout::Layout t{kMapLength, {
        copy,
        Key(key, shape.keyAt),
        {.control = kOptions, .encoding = Encoding::Bits, .places = layout::Run(17, 4),
         .bits = {{1, 20, 1}, {3, 17, 1}, {4, 17, 2}, {5, 18, 4}, {6, 20, 4}, {7, 20, 2}},
         .characters = 7, .caption = "Opciones"},
        {.encoding = Encoding::Fixed, .places = {21}, .fixed = "00"},
    }};
    // clang-format on
    if (shape.localDigitsAt > 0) {
        t.fields.push_back({.control = "MorComConDLL",
                            .encoding = Encoding::KeyDigits,
                            .places = {shape.localDigitsAt}});
        t.fields.push_back(
            {.encoding = Encoding::Fixed, .places = {shape.localDigitsAt + 1}, .fixed = "00"});
    }
    for (layout::Field& f : boxes) t.fields.push_back(std::move(f));
    t.fields.push_back({.encoding = Encoding::Fixed, .places = {131}, .fixed = "45"});
    // Data character k lands on map k + 6 in block 1 and k + 10 in block 2.
    const int dataEnd = shape.dataLength + 10;
    t.dataText = {{7, 128}, {133, dataEnd}};
    if (shape.closingF) t.dataText.push_back({0, 0, QStringLiteral("f")});
    t.block2To = qMin(dataEnd, 234);
    t.block2Tail = QStringLiteral("6E") +
                   (shape.block2Fill == QChar('0') ? QString(84, '0') : QString(24, 'F'));
    return t;
}

QString OptionsValue(const QString& flags, const QString& trunk) {
    return flags.leftJustified(6, '0', true) +
           (trunk == QStringLiteral("1") ? QStringLiteral("1") : QStringLiteral("0"));
}

QString Header(const ModelInfo& m, const QString& firmwareBox, const QString& classCode,
               const QString& installationCode) {
    const QString firmware =
        m.firmwareAsCharacters ? firmwareBox.left(2) : DecToHex2(firmwareBox.left(2));
    return m.kind() + firmware + (classCode.isEmpty() ? QStringLiteral("00") : classCode) +
           installationCode.left(4).rightJustified(4, '0');
}

const Command* FindCommand(std::span<const Command> table, const QString& commandNumber) {
    if (!IsWholeNumber(commandNumber)) return nullptr;
    const long long n = ValOf(commandNumber);
    for (const Command& c : table)
        if (c.number == n) return &c;
    return nullptr;
}

QString CommandValueText(const Command& c, const QString& commandValue) {
    if (c.value != Value::OnOff) return commandValue;
    if (commandValue == QStringLiteral("1")) return QStringLiteral("9");
    if (commandValue == QStringLiteral("0")) return QStringLiteral("0");
    return commandValue;
}

QString CommandIndexText(const Command& c, const QString& commandIndex) {
    if (c.indexAdd == 0) return {};
    long long n = ValOf(commandIndex) + c.indexAdd;
    if (c.indexTenIsZero && n == 10) n = 0;
    return QString::number(n);
}

QString CommandText(const Command& c, const QString& separator, const QString& key,
                    const QString& index, const QString& value, const QString& suffix) {
    QString out = QString::fromLatin1(c.code);
    if (c.separatorBeforeKey) out += separator;
    out += key;
    if (c.indexAdd != 0) out += separator + index;
    if (c.value != Value::None) out += separator + value;
    return out + suffix;
}

}  // namespace morla::longreply
