// Sorvanell: programming number at map 11-20 and key at 21-30, each character after a "0";
// alert digit at 32; options in digits 33 and 34; count of interventions at 36 and 38. Its
// single commands come with a "," between every two characters.
#include "core/codec/codec.h"
#include "devsim/models/behaviour.h"

namespace morla::devsim {

namespace {
constexpr int kProgrammingAt = 11;
constexpr int kKeyAt = 21;
constexpr int kAlertAt = 31;
constexpr int kOptionsAt = 33;
constexpr int kCountAt = 35;
const QString kFactoryKey = QStringLiteral("12*34");
const QString kFactoryProgramming = QStringLiteral("11*22");

bool keyForm(const QString& text) {
    if (text.size() != 5 || text.at(2) != '*') return false;
    for (int i : {0, 1, 3, 4})
        if (text.at(i) < '0' || text.at(i) > '9') return false;
    return true;
}

// A character of the line as the digit the device keeps: hex digits as they are, anything
// else by its low four bits ("*" is "A").
QString digitOf(QChar c) {
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')) return QString(c);
    return DigitToHex(c.unicode() & 0x0F);
}

// The alert digit is a dial digit: "*" is kept as "B", "#" as "C".
QString dialDigitOf(QChar c) {
    if (c == '*') return QStringLiteral("B");
    if (c == '#') return QStringLiteral("C");
    return digitOf(c);
}

// Five characters as "0"-prefixed digits.
QString pairs(const QString& text) {
    QString out;
    for (QChar c : text) out += QStringLiteral("0") + digitOf(c);
    return out;
}

QString fiveAt(const MemoryImage& image, int first) {
    return MapToKeyDigits(image.mid(first + 1, 1) + image.mid(first + 3, 1)) + QStringLiteral("*") +
           MapToKeyDigits(image.mid(first + 7, 1) + image.mid(first + 9, 1));
}

QString sorvanellKey(const MemoryImage& image) {
    return fiveAt(image, kKeyAt);
}

void toggle(MemoryImage& image, int position, int value) {
    image.setDigit(position, image.digit(position) ^ value);
}

struct OptionBit {
    int position;
    int value;
};
// --options: flags 1, 4 and 7, then MorChkAleBlqGrb and the tone.
constexpr OptionBit kOptionBits[] = {{34, 1}, {33, 1}, {34, 8}, {33, 4}, {33, 2}};

void factory(MemoryImage& image) {
    image.set(kProgrammingAt, pairs(kFactoryProgramming));
    image.set(kKeyAt, pairs(kFactoryKey));
    image.set(kAlertAt, QStringLiteral("05"));
    image.set(kOptionsAt, QStringLiteral("00"));
    image.set(kCountAt, QStringLiteral("000000"));
}

Result setUp(MemoryImage& image, const QString& key, const QString& options) {
    if (!key.isEmpty()) {
        if (!keyForm(key))
            return {Outcome::Rejected, QStringLiteral("the key is two digits, *, two digits")};
        image.set(kKeyAt, pairs(key));
    }
    if (!options.isEmpty()) {
        if (options.size() > 5 || options.count('0') + options.count('1') != options.size())
            return {Outcome::Rejected, QStringLiteral("options are up to five 0/1 characters")};
        for (int k = 0; k < 5; ++k) {
            const OptionBit b = kOptionBits[k];
            const int d = image.digit(b.position);
            const bool on = k < options.size() && options.at(k) == '1';
            image.setDigit(b.position, on ? (d | b.value) : (d & ~b.value));
        }
    }
    return {Outcome::Applied,
            QStringLiteral("key %1, options %2").arg(sorvanellKey(image), image.mid(33, 2))};
}

// Map positions 11 to 40 and a closing "f".
Result applyData(MemoryImage& image, const QString& text) {
    if (text.size() != 31 || !text.endsWith('f'))
        return {
            Outcome::Rejected,
            QStringLiteral("data text of %1 characters, 31 ending in f expected").arg(text.size())};
    for (int i = 0; i < 30; ++i) {
        const int position = kProgrammingAt + i;
        image.set(position,
                  position == kAlertAt + 1 ? dialDigitOf(text.at(i)) : digitOf(text.at(i)));
    }
    return {Outcome::Applied,
            QStringLiteral("key %1, programming %2, options %3")
                .arg(sorvanellKey(image), fiveAt(image, kProgrammingAt), image.mid(kOptionsAt, 2))};
}

// key, operation digit, value, "f", separated by ",".
Result applySingle(MemoryImage& image, const QStringList& fields) {
    QString command;
    for (const QString& f : fields) {
        if (f.size() != 1) return {Outcome::Rejected, QStringLiteral("not separated")};
        command += f;
    }
    if (command.size() < 7 || !command.endsWith('f'))
        return {Outcome::Rejected, QStringLiteral("not key, operation, value, f")};
    const QString key = command.left(5);
    const QChar op = command.at(5);
    const QString value = command.mid(6, command.size() - 7);
    if (key != sorvanellKey(image))
        return {Outcome::WrongKey, QStringLiteral("key %1 does not open it").arg(key)};
    auto toggled = [&](int position, int bit, const char* what) -> Result {
        if (!value.isEmpty()) return {Outcome::Rejected, QStringLiteral("a value where none goes")};
        toggle(image, position, bit);
        return {Outcome::Applied, QStringLiteral("%1 switched, options %2")
                                      .arg(QLatin1String(what), image.mid(kOptionsAt, 2))};
    };
    switch (op.unicode()) {
        case '1':
            return toggled(34, 1, "flag 1");
        case '7':
            return toggled(33, 1, "flag 4");
        case '5':
            return toggled(34, 8, "flag 7");
        case '8':
            return toggled(33, 2, "tone");
        case '9':
            return toggled(33, 4, "recording lock");
        case '3':
            if (!keyForm(value))
                return {Outcome::Rejected, QStringLiteral("new key %1 not of the form").arg(value)};
            image.set(kKeyAt, pairs(value));
            return {Outcome::Applied, QStringLiteral("key changed to %1").arg(value)};
        case '2':
            if (!keyForm(value))
                return {Outcome::Rejected,
                        QStringLiteral("programming number %1 not of the form").arg(value)};
            image.set(kProgrammingAt, pairs(value));
            return {Outcome::Applied, QStringLiteral("programming number %1").arg(value)};
        case '6':
            if (value.size() != 1)
                return {Outcome::Rejected, QStringLiteral("alert digit %1").arg(value)};
            image.set(kAlertAt, QStringLiteral("0") + dialDigitOf(value.at(0)));
            return {Outcome::Applied, QStringLiteral("alert digit %1").arg(value)};
        default:
            break;
    }
    return {Outcome::Rejected, QStringLiteral("unknown operation %1").arg(op)};
}

Result resetKey(MemoryImage& image, const MemoryImage& factoryImage) {
    image.set(kKeyAt, factoryImage.mid(kKeyAt, 10));
    return {Outcome::Applied, QStringLiteral("key back to %1").arg(sorvanellKey(image))};
}
}  // namespace

const ModelBehaviour kSorvanellBehaviour{
    .factory = factory,
    .setUp = setUp,
    .applyData = applyData,
    .applySingle = applySingle,
    .key = sorvanellKey,
    .resetKey = resetKey,
    .dataAt = kProgrammingAt,
};

}  // namespace morla::devsim
