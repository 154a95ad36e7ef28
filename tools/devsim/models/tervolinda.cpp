// Tervolinda: the reader takes its firmware code from reply characters 7-8 as decimal
// characters, not as a hex byte. Above 70 the device has no voice: removal option at map
// 11-12, numbers-with-9 option at 13-14 ("09" on, "0A" off), key digits at 16, 18, 20, 22 and
// exit key digits at 24, 26, 28, 30. Firmware 2 has voice and only the key, at 14 to 20.
#include "core/codec/codec.h"
#include "devsim/models/behaviour.h"

namespace morla::devsim {

namespace {
const QString kOn = QStringLiteral("09");
const QString kOff = QStringLiteral("0A");
const QString kFactoryKey = QStringLiteral("1234");
const QString kFactoryExit = QStringLiteral("5678");
constexpr int kRemovalAt = 11;
constexpr int kNine = 13;
constexpr int kExitAt = 23;

bool fourDigits(const QString& text) {
    if (text.size() != 4) return false;
    for (QChar c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

bool withVoice(const MemoryImage& image) {
    return ValOf(image.mid(3, 2)) == 2;
}

int keyAt(const MemoryImage& image) {
    return withVoice(image) ? 13 : 15;
}

// Four digits as "0"-prefixed pairs; the device keeps a digit 0 as "A".
QString pairs(const QString& digits) {
    QString out;
    for (QChar c : digits) out += QStringLiteral("0") + (c == '0' ? QChar('A') : c);
    return out;
}

QString digitsAt(const MemoryImage& image, int first) {
    QString out;
    for (int i = 0; i < 4; ++i) out += MapToKeyDigits(image.mid(first + 1 + 2 * i, 1));
    return out;
}

QString tervolindaKey(const MemoryImage& image) {
    return digitsAt(image, keyAt(image));
}

void factory(MemoryImage& image) {
    // The blank image wrote the firmware in hex; put the decimal digits back.
    const QString decimal = HexToDec(image.mid(3, 2));
    image.set(3, decimal.rightJustified(2, '0').right(2));
    image.set(keyAt(image), pairs(kFactoryKey));
    if (withVoice(image)) return;
    image.set(kRemovalAt, kOff);
    image.set(kNine, kOff);
    image.set(kExitAt, pairs(kFactoryExit));
}

Result setUp(MemoryImage& image, const QString& key, const QString& options) {
    if (!key.isEmpty()) {
        if (!fourDigits(key)) return {Outcome::Rejected, QStringLiteral("the key is four digits")};
        image.set(keyAt(image), pairs(key));
    }
    if (!options.isEmpty()) {
        if (withVoice(image))
            return {Outcome::Rejected, QStringLiteral("the voice variant has no options")};
        if (options.size() > 2 || options.count('0') + options.count('1') != options.size())
            return {Outcome::Rejected, QStringLiteral("options are up to two 0/1 characters")};
        image.set(kRemovalAt, options.at(0) == '1' ? kOn : kOff);
        image.set(kNine, options.size() > 1 && options.at(1) == '1' ? kOn : kOff);
    }
    return {Outcome::Applied, QStringLiteral("key %1").arg(tervolindaKey(image))};
}

// The key editor's write frame of 132 characters for this variant.
Result applyData(MemoryImage& image, const QString& text) {
    if (text.size() != 132 || !text.startsWith(QLatin1String("0809FFFF")))
        return {Outcome::Rejected, QStringLiteral("not a write frame of 132 characters")};
    QString key;
    for (int i = 0; i < 4; ++i) key += text.at(13 + 2 * i);
    if (!fourDigits(key)) return {Outcome::Rejected, QStringLiteral("key not four digits")};
    image.set(keyAt(image), pairs(key));
    if (withVoice(image)) return {Outcome::Applied, QStringLiteral("key %1").arg(key)};
    QString exit;
    for (int i = 0; i < 4; ++i) exit += text.at(21 + 2 * i);
    if (!fourDigits(exit)) return {Outcome::Rejected, QStringLiteral("exit key not four digits")};
    image.set(kRemovalAt, text.mid(8, 2) == kOn ? kOn : kOff);
    image.set(kNine, text.mid(10, 2) == kOn ? kOn : kOff);
    image.set(kExitAt, pairs(exit));
    return {Outcome::Applied, QStringLiteral("key %1, exit key %2").arg(key, exit)};
}

// "#n,key,value" with an "f" after the value.
Result applySingle(MemoryImage& image, const QStringList& fields) {
    if (fields.size() != 3 || !fields.at(2).endsWith('f'))
        return {Outcome::Rejected, QStringLiteral("not code,key,valuef")};
    const QString& code = fields.at(0);
    const QString value = fields.at(2).chopped(1);
    const bool option = code == QLatin1String("#1") || code == QLatin1String("#5");
    if (!option && code != QLatin1String("#2") && code != QLatin1String("#3"))
        return {Outcome::Rejected, QStringLiteral("unknown command %1").arg(code)};
    if (fields.at(1) != tervolindaKey(image))
        return {Outcome::WrongKey, QStringLiteral("key %1 does not open it").arg(fields.at(1))};
    if (code == QLatin1String("#2")) {
        if (!fourDigits(value))
            return {Outcome::Rejected, QStringLiteral("new key %1 is not four digits").arg(value)};
        image.set(keyAt(image), pairs(value));
        return {Outcome::Applied, QStringLiteral("key changed to %1").arg(value)};
    }
    if (withVoice(image))
        return {Outcome::Rejected, QStringLiteral("the voice variant has only the key")};
    if (code == QLatin1String("#3")) {
        if (!fourDigits(value))
            return {Outcome::Rejected, QStringLiteral("exit key %1 is not four digits").arg(value)};
        image.set(kExitAt, pairs(value));
        return {Outcome::Applied, QStringLiteral("exit key %1").arg(value)};
    }
    if (value != QLatin1String("9") && value != QLatin1String("0"))
        return {Outcome::Rejected, QStringLiteral("value %1 is neither 9 nor 0").arg(value)};
    const int at = code == QLatin1String("#1") ? kRemovalAt : kNine;
    image.set(at, value == QLatin1String("9") ? kOn : kOff);
    return {Outcome::Applied,
            QStringLiteral("%1 %2").arg(
                code == QLatin1String("#1") ? "removal of the first 1" : "numbers starting with 9",
                value == QLatin1String("9") ? "on" : "off")};
}

Result resetKey(MemoryImage& image, const MemoryImage& factoryImage) {
    image.set(keyAt(image), factoryImage.mid(keyAt(image), 8));
    return {Outcome::Applied, QStringLiteral("key back to %1").arg(tervolindaKey(image))};
}
}  // namespace

const ModelBehaviour kTervolindaBehaviour{
    .factory = factory,
    .setUp = setUp,
    .applyData = applyData,
    .applySingle = applySingle,
    .key = tervolindaKey,
    .resetKey = resetKey,
};

}  // namespace morla::devsim
