// Lúvero: a four-digit key at map 11-14 ("A" for 0) and six options in map digits 17-20.
#include <array>

#include "core/codec/codec.h"
#include "devsim/models/behaviour.h"

namespace morla::devsim {

namespace {
constexpr int kKeyAt = 11;
constexpr int kOptionsAt = 17;
const QString kFactoryKey = QStringLiteral("1234");

struct OptionBit {
    int position;
    int value;
};
// Options 1..6. Digit 20 holds option 2 at bit value 2 and option 6 at bit value 4: the
// placement the reader decodes, so that a write reads back as it was written.
constexpr std::array<OptionBit, 6> kOptionBits{
    {{19, 1}, {20, 2}, {17, 1}, {17, 2}, {18, 4}, {20, 4}}};

struct SingleCode {
    const char* code;
    int option;
};
constexpr std::array<SingleCode, 6> kSingleCodes{
    {{"#1", 1}, {"#3", 2}, {"#4", 3}, {"#5", 4}, {"#6", 5}, {"#9", 6}}};

bool allDecimal(const QString& text) {
    for (QChar c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

bool allHex(const QString& text) {
    for (QChar c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
    return true;
}

// The device keeps a key digit 0 as "A".
QString keyToMap(const QString& typed) {
    QString out = typed;
    out.replace('0', 'A');
    return out;
}

void setOption(MemoryImage& image, int option, bool on) {
    const OptionBit bit = kOptionBits[option - 1];
    const int d = image.digit(bit.position);
    image.setDigit(bit.position, on ? (d | bit.value) : (d & ~bit.value));
}

QString luveroKey(const MemoryImage& image) {
    return MapToKeyDigits(image.mid(kKeyAt, 4));
}

void factory(MemoryImage& image) {
    image.set(kKeyAt, keyToMap(kFactoryKey));
    image.set(15, QStringLiteral("66"));
    image.set(kOptionsAt, QStringLiteral("0000"));
    image.set(21, QStringLiteral("6E"));
}

Result setUp(MemoryImage& image, const QString& key, const QString& options) {
    if (!key.isEmpty()) {
        if (key.size() != 4 || !allDecimal(key))
            return {Outcome::Rejected, QStringLiteral("the key is four digits")};
        image.set(kKeyAt, keyToMap(key));
    }
    if (!options.isEmpty()) {
        if (options.size() > int(kOptionBits.size()) ||
            options.count('0') + options.count('1') != options.size())
            return {Outcome::Rejected, QStringLiteral("options are up to six 0/1 characters")};
        for (int k = 1; k <= int(kOptionBits.size()); ++k)
            setOption(image, k, k <= options.size() && options.at(k - 1) == '1');
    }
    return {Outcome::Applied,
            QStringLiteral("key %1, options %2").arg(luveroKey(image), image.mid(17, 4))};
}

// InstallationCode(4) key(4) "FF" d17 d18 d19 d20.
Result applyData(MemoryImage& image, const QString& text) {
    if (text.size() != 14)
        return {Outcome::Rejected,
                QStringLiteral("data text of %1 characters, 14 expected").arg(text.size())};
    const QString modifier = text.mid(0, 4);
    const QString key = text.mid(4, 4);
    const QString options = text.mid(10, 4);
    if (!allHex(modifier)) return {Outcome::Rejected, QStringLiteral("modifier not hex")};
    if (!allDecimal(key)) return {Outcome::Rejected, QStringLiteral("key not four digits")};
    if (!allHex(options)) return {Outcome::Rejected, QStringLiteral("option digits not hex")};
    image.set(7, modifier);
    image.set(kKeyAt, keyToMap(key));
    image.set(kOptionsAt, options);
    return {Outcome::Applied,
            QStringLiteral("modifier %1, key %2, options %3").arg(modifier, key, options)};
}

Result applySingle(MemoryImage& image, const QStringList& fields) {
    if (fields.size() != 3) return {Outcome::Rejected, QStringLiteral("not code,key,value")};
    const QString& code = fields.at(0);
    const QString& value = fields.at(2);
    int option = 0;
    for (const SingleCode& s : kSingleCodes)
        if (code == QLatin1String(s.code)) option = s.option;
    if (option == 0 && code != QLatin1String("#2"))
        return {Outcome::Rejected, QStringLiteral("unknown command %1").arg(code)};
    if (fields.at(1) != luveroKey(image))
        return {Outcome::WrongKey, QStringLiteral("key %1 does not open it").arg(fields.at(1))};

    if (option == 0) {
        if (value.size() != 4 || !allDecimal(value))
            return {Outcome::Rejected, QStringLiteral("new key %1 is not four digits").arg(value)};
        image.set(kKeyAt, keyToMap(value));
        return {Outcome::Applied, QStringLiteral("key changed to %1").arg(value)};
    }
    if (value != QLatin1String("9") && value != QLatin1String("0"))
        return {Outcome::Rejected, QStringLiteral("value %1 is neither 9 nor 0").arg(value)};
    setOption(image, option, value == QLatin1String("9"));
    return {Outcome::Applied, QStringLiteral("option %1 %2, options %3")
                                  .arg(option)
                                  .arg(value == QLatin1String("9") ? "on" : "off")
                                  .arg(image.mid(kOptionsAt, 4))};
}

Result resetKey(MemoryImage& image, const MemoryImage& factoryImage) {
    image.set(kKeyAt, factoryImage.mid(kKeyAt, 4));
    return {Outcome::Applied, QStringLiteral("key back to %1").arg(luveroKey(image))};
}
}  // namespace

const ModelBehaviour kLuveroBehaviour{
    .factory = factory,
    .setUp = setUp,
    .applyData = applyData,
    .applySingle = applySingle,
    .key = luveroKey,
    .resetKey = resetKey,
};

}  // namespace morla::devsim
