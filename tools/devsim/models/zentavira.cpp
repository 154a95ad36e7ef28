// Zentavira: two blocks; key at map 35-38, option bits in digits 12-14, durations and trunk
// digits each digit after a "0", 4-digit memories at 39-94, 16-digit memories from 95 (the
// third one split around the first checksum).
#include <array>

#include "core/codec/codec.h"
#include "devsim/models/behaviour.h"
#include "devsim/models/common.h"

namespace morla::devsim {

namespace {
constexpr int kKeyAt = 35;
constexpr int kFreeAt = 17;
constexpr int kProhibitedAt = 23;
constexpr int kTrunkAt = 29;

struct OptionBit {
    int position;
    int value;
};
// Options 1..4: the flags text order; option 4 frees the memory table.
constexpr std::array<OptionBit, 4> kOptionBits{{{13, 1}, {14, 2}, {14, 4}, {12, 1}}};

struct SingleCode {
    const char* code;
    int option;
};
// "#26" (restriction 6 of the panel) sets the device's third option, the one its reply shows
// as flags character 3.
constexpr std::array<SingleCode, 4> kOptionCodes{{{"#24", 1}, {"#25", 2}, {"#26", 3}, {"#28", 4}}};

void setOption(MemoryImage& image, int option, bool on) {
    const OptionBit bit = kOptionBits[option - 1];
    const int d = image.digit(bit.position);
    image.setDigit(bit.position, on ? (d | bit.value) : (d & ~bit.value));
}

QString zentaviraKey(const MemoryImage& image) {
    return MapToKeyDigits(image.mid(kKeyAt, 4));
}

// Memory m of the device's numbering: 0-13 the 4-digit ones, 14-23 the 16-digit ones.
void setMemory(MemoryImage& image, int m, const QString& digits) {
    if (m < 14) {
        image.set(39 + 4 * m, digits);
        return;
    }
    const int k = m - 14;
    if (k < 2) {
        image.set(95 + 16 * k, digits);
    } else if (k == 2) {
        image.set(127, digits.left(2));
        image.set(133, digits.mid(2));
    } else {
        image.set(147 + 16 * (k - 3), digits);
    }
}

void factory(MemoryImage& image) {
    image.set(11, QStringLiteral("2001"));
    image.set(15, QStringLiteral("00"));
    image.set(kFreeAt, SpacedNumber(QStringLiteral("0")));
    image.set(kProhibitedAt, SpacedNumber(QStringLiteral("0")));
    image.set(kTrunkAt, QStringLiteral("0F0F0F"));
    image.set(kKeyAt, QStringLiteral("1234"));
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
            return {Outcome::Rejected, QStringLiteral("options are up to four 0/1 characters")};
        for (int k = 1; k <= int(kOptionBits.size()); ++k)
            setOption(image, k, k <= options.size() && options.at(k - 1) == '1');
    }
    return {Outcome::Applied,
            QStringLiteral("key %1, options %2").arg(zentaviraKey(image), image.mid(12, 3))};
}

// Map 7-128 and 133-258 in one text of 248 characters. The trunk digits and the memories come
// as typed ("0", "*", "#") and are kept as "A", "B", "C".
bool dialPlace(int position) {
    const bool trunk = position > kTrunkAt && position < kTrunkAt + 6 && (position - kTrunkAt) % 2;
    return trunk || (position >= 39 && position <= 128) || (position >= 133 && position <= 258);
}

Result applyData(MemoryImage& image, const QString& text) {
    if (text.size() != 248)
        return {Outcome::Rejected,
                QStringLiteral("data text of %1 characters, 248 expected").arg(text.size())};
    QString stored;
    for (int i = 0; i < text.size(); ++i) {
        const QString c = text.mid(i, 1);
        const QString digit = dialPlace(i < 122 ? 7 + i : 11 + i) ? StoredDial(c) : c;
        if (digit.isEmpty() || !AllHex(digit))
            return {Outcome::Rejected,
                    QStringLiteral("data text character %1: %2").arg(i + 1).arg(c)};
        stored += digit;
    }
    image.set(7, stored.left(122));
    image.set(133, stored.mid(122));
    return {Outcome::Applied, QStringLiteral("key %1, options %2, memories stored")
                                  .arg(zentaviraKey(image), image.mid(12, 3))};
}

Result applySingle(MemoryImage& image, const QStringList& fields) {
    const QString& head = fields.at(0);
    const QString key = zentaviraKey(image);
    auto wrongKey = [](const QString& given) {
        return Result{Outcome::WrongKey, QStringLiteral("key %1 does not open it").arg(given)};
    };
    // "#20" previous key, new key; "#27" key, memory, digits; "#30" key: the key follows the
    // code without a comma.
    if (head.startsWith(QLatin1String("#20")) && fields.size() == 2) {
        if (head.mid(3) != key) return wrongKey(head.mid(3));
        if (fields[1].size() != 4 || !AllDecimal(fields[1]))
            return {Outcome::Rejected,
                    QStringLiteral("new key %1 is not four digits").arg(fields[1])};
        image.set(kKeyAt, fields[1]);
        return {Outcome::Applied, QStringLiteral("key changed to %1").arg(fields[1])};
    }
    if (head.startsWith(QLatin1String("#27")) && fields.size() == 3) {
        if (head.mid(3) != key) return wrongKey(head.mid(3));
        const QString& index = fields[1];
        if (index.size() != 2 || !AllDecimal(index) || index.toInt() > 23)
            return {Outcome::Rejected, QStringLiteral("no memory %1").arg(index)};
        const int m = index.toInt();
        const int width = m < 14 ? 4 : 16;
        if (!DialText(fields[2], width))
            return {Outcome::Rejected,
                    QStringLiteral("memory %1 cannot hold %2").arg(index, fields[2])};
        setMemory(image, m, DialDigits(fields[2], width));
        return {Outcome::Applied, QStringLiteral("memory %1 is %2").arg(index, fields[2])};
    }
    if (head.startsWith(QLatin1String("#30")) && fields.size() == 1) {
        if (head.mid(3) != key) return wrongKey(head.mid(3));
        for (int m = 0; m < 24; ++m) setMemory(image, m, QString(m < 14 ? 4 : 16, 'F'));
        return {Outcome::Applied, QStringLiteral("memories erased")};
    }
    if (fields.size() < 3)
        return {Outcome::Rejected, QStringLiteral("unknown command %1").arg(fields.join(','))};
    if (fields.at(1) != key) return wrongKey(fields.at(1));
    const QString& value = fields.at(2);
    if (auto timing = ApplyTimingCommand(image, head, fields, {kFreeAt, kProhibitedAt, kTrunkAt}))
        return *timing;
    for (const SingleCode& s : kOptionCodes) {
        if (head != QLatin1String(s.code)) continue;
        if (fields.size() != 3 || (value != QLatin1String("9") && value != QLatin1String("0")))
            return {Outcome::Rejected, QStringLiteral("value %1 is neither 9 nor 0").arg(value)};
        setOption(image, s.option, value == QLatin1String("9"));
        return {Outcome::Applied, QStringLiteral("option %1 %2, digits %3")
                                      .arg(s.option)
                                      .arg(value == QLatin1String("9") ? "on" : "off")
                                      .arg(image.mid(12, 3))};
    }
    return {Outcome::Rejected, QStringLiteral("unknown command %1").arg(head)};
}

Result resetKey(MemoryImage& image, const MemoryImage& factoryImage) {
    image.set(kKeyAt, factoryImage.mid(kKeyAt, 4));
    return {Outcome::Applied, QStringLiteral("key back to %1").arg(zentaviraKey(image))};
}
}  // namespace

const ModelBehaviour kZentaviraBehaviour{
    .factory = factory,
    .setUp = setUp,
    .applyData = applyData,
    .applySingle = applySingle,
    .key = zentaviraKey,
    .resetKey = resetKey,
};

}  // namespace morla::devsim
