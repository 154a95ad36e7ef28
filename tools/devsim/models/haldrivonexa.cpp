// Haldrivonexa: one block; key at map 11-14, trunk digits at 18, 20, 22, option bits in digits
// 23-26, the fifteen boxes three to a digit in 27-30 and 32, durations at 34-38 and 40-44.
#include <array>

#include "core/codec/codec.h"
#include "devsim/models/behaviour.h"
#include "devsim/models/common.h"

namespace morla::devsim {

namespace {
constexpr int kKeyAt = 11;
constexpr int kTrunkAt = 17;
constexpr int kFreeAt = 33;
constexpr int kProhibitedAt = 39;

struct Bit {
    int position;
    int value;
};
// Options 1..6, option 2 in bit 2 and option 6 in bit 4 of digit 26.
constexpr std::array<Bit, 6> kOptionBits{{{25, 1}, {26, 2}, {23, 1}, {23, 2}, {24, 4}, {26, 4}}};
constexpr std::array<const char*, 6> kOptionCodes{"#50", "#52", "#64", "#53", "#71", "#54"};
constexpr std::array<const char*, 6> kLongDistanceCodes{"#51", "#55", "#58", "#61", "#62", "#63"};

// Prefix box k (0-8) and long-distance box k (0-5), three to a digit from the left.
Bit prefixBit(int k) {
    return {27 + k / 3, 4 >> (k % 3)};
}
Bit longDistanceBit(int k) {
    return {k < 3 ? 30 : 32, 4 >> (k % 3)};
}

void setBit(MemoryImage& image, Bit bit, bool on) {
    const int d = image.digit(bit.position);
    image.setDigit(bit.position, on ? (d | bit.value) : (d & ~bit.value));
}

QString haldrivonexaKey(const MemoryImage& image) {
    return MapToKeyDigits(image.mid(kKeyAt, 4));
}

void factory(MemoryImage& image) {
    image.set(kKeyAt, QStringLiteral("1234"));
    image.set(15, QStringLiteral("00"));
    image.set(kTrunkAt, QStringLiteral("0F0F0F"));
    image.set(23, QStringLiteral("0000000000"));
    image.set(kFreeAt, SpacedNumber(QStringLiteral("0")));
    image.set(kProhibitedAt, SpacedNumber(QStringLiteral("0")));
}

Result setUp(MemoryImage& image, const QString& key, const QString& options) {
    if (!key.isEmpty()) {
        if (key.size() != 4 || !AllDecimal(key))
            return {Outcome::Rejected, QStringLiteral("the key is four digits")};
        image.set(kKeyAt, key);
    }
    if (!options.isEmpty()) {
        if (options.size() > int(kOptionBits.size()) ||
            options.count('0') + options.count('1') != options.size())
            return {Outcome::Rejected, QStringLiteral("options are up to six 0/1 characters")};
        for (int k = 0; k < int(kOptionBits.size()); ++k)
            setBit(image, kOptionBits[k], k < options.size() && options.at(k) == '1');
    }
    return {Outcome::Applied,
            QStringLiteral("key %1, options %2").arg(haldrivonexaKey(image), image.mid(23, 4))};
}

// Map 7-44 and a closing "f".
Result applyData(MemoryImage& image, const QString& text) {
    if (text.size() != 39 || !text.endsWith('f'))
        return {
            Outcome::Rejected,
            QStringLiteral("data text of %1 characters, 39 ending in f expected").arg(text.size())};
    // The trunk digits (map 18, 20, 22) come as typed ("0", "*", "#") and are kept as "A", "B",
    // "C".
    QString stored = text.left(38);
    for (int position = kTrunkAt + 1; position < kTrunkAt + 6; position += 2)
        stored.replace(position - 7, 1, StoredDial(stored.mid(position - 7, 1)));
    if (stored.size() != 38 || !AllHex(stored))
        return {Outcome::Rejected, QStringLiteral("data text not hex or dial digits")};
    image.set(7, stored);
    return {Outcome::Applied, QStringLiteral("key %1, options %2, boxes %3")
                                  .arg(haldrivonexaKey(image), image.mid(23, 4), image.mid(27, 6))};
}

Result applySingle(MemoryImage& image, const QStringList& fields) {
    if (fields.size() < 3)
        return {Outcome::Rejected, QStringLiteral("unknown command %1").arg(fields.join(','))};
    const QString& code = fields.at(0);
    if (fields.at(1) != haldrivonexaKey(image))
        return {Outcome::WrongKey, QStringLiteral("key %1 does not open it").arg(fields.at(1))};
    const QString& value = fields.at(2);
    if (code == QLatin1String("#20")) {
        if (fields.size() != 3 || value.size() != 4 || !AllDecimal(value))
            return {Outcome::Rejected, QStringLiteral("new key %1 is not four digits").arg(value)};
        image.set(kKeyAt, value);
        return {Outcome::Applied, QStringLiteral("key changed to %1").arg(value)};
    }
    if (auto timing = ApplyTimingCommand(image, code, fields, {kFreeAt, kProhibitedAt, kTrunkAt}))
        return *timing;
    // On/off: the six options, the nine prefix boxes (#41..#49) and the six long-distance ones.
    Bit bit{0, 0};
    for (int k = 0; k < 6; ++k) {
        if (code == QLatin1String(kOptionCodes[k])) bit = kOptionBits[k];
        if (code == QLatin1String(kLongDistanceCodes[k])) bit = longDistanceBit(k);
    }
    for (int k = 0; k < 9; ++k)
        if (code == QStringLiteral("#%1").arg(41 + k)) bit = prefixBit(k);
    if (bit.position == 0)
        return {Outcome::Rejected, QStringLiteral("unknown command %1").arg(code)};
    if (fields.size() != 3 || (value != QLatin1String("9") && value != QLatin1String("0")))
        return {Outcome::Rejected, QStringLiteral("value %1 is neither 9 nor 0").arg(value)};
    setBit(image, bit, value == QLatin1String("9"));
    return {Outcome::Applied,
            QStringLiteral("%1 %2, digits %3")
                .arg(code, value == QLatin1String("9") ? "on" : "off", image.mid(23, 10))};
}

Result resetKey(MemoryImage& image, const MemoryImage& factoryImage) {
    image.set(kKeyAt, factoryImage.mid(kKeyAt, 4));
    return {Outcome::Applied, QStringLiteral("key back to %1").arg(haldrivonexaKey(image))};
}
}  // namespace

const ModelBehaviour kHaldrivonexaBehaviour{
    .factory = factory,
    .setUp = setUp,
    .applyData = applyData,
    .applySingle = applySingle,
    .key = haldrivonexaKey,
    .resetKey = resetKey,
};

}  // namespace morla::devsim
