// Quarn, Pellitor and Kovalindre: the long-reply restrictors. A write's data text mirrors the
// memory (character k at map k + 6 up to 122, k + 10 after); single commands change one
// option bit, one three-digit number, one memory number or one key. Dial digits are kept
// with "A" for 0, "B" for "*" and "C" for "#".
#include <vector>

#include "core/codec/codec.h"
#include "devsim/models/behaviour.h"

namespace morla::devsim {

namespace {

enum class Action {
    Option,       // an on/off bit: `at` digit, `value` bit value
    Number,       // three digits as "0"-digit pairs from `at`
    ClearNumber,  // the number from `at` back to 000
    Memory,       // memory number by index
    Key,          // key by number (1 is the device key)
    KeyChange,    // the Quarn's own form: ",previous,1,,new"
    Digit,        // one digit at `at`
};

struct Single {
    const char* code;
    bool separated;  // "code,key,..." rather than "code" & key
    Action action;
    int at = 0;
    int value = 0;
};

struct Span {
    int at, count;
};
struct Memory {
    Span first, second;
};

struct Shape {
    ModelId id;
    bool closingF;
    std::vector<Span> numbers;     // 3-digit fields, for the factory image
    std::vector<Memory> memories;  // by box index
    std::vector<int> keys;         // keys 2.., each at its position
    std::vector<Span> dial;        // where data text characters are dial digits
    std::vector<Single> singles;
    int localDigitsAt = 0;
    int memoryIndexBase = 1;  // the index the first memory travels with
    bool memoryTenIsZero = false;
};

bool quarnConmutador(const MemoryImage& image) {
    return HexToDec(image.mid(3, 2)).toInt() > 23;
}

int keyAt(const Shape& s, const MemoryImage& image) {
    switch (s.id) {
        case ModelId::Quarn:
            return quarnConmutador(image) ? 205 : 11;
        case ModelId::Pellitor:
            return 145;
        default:
            return 105;
    }
}

int dataLength(const Shape& s, const MemoryImage& image) {
    switch (s.id) {
        case ModelId::Quarn:
            return quarnConmutador(image) ? 224 : 194;
        case ModelId::Pellitor:
            return 165;
        default:
            return 249;
    }
}

// clang-format off
const Shape kQuarn{ModelId::Quarn, false,
    {{23, 6}, {29, 6}, {35, 6}},
    {{{41, 16}, {0, 0}}, {{57, 16}, {0, 0}}, {{73, 16}, {0, 0}}, {{89, 16}, {0, 0}},
     {{105, 16}, {0, 0}}, {{121, 8}, {133, 8}}, {{141, 16}, {0, 0}}, {{157, 16}, {0, 0}},
     {{173, 16}, {0, 0}}, {{189, 16}, {0, 0}}},
    {211, 217, 223, 229},
    {{11, 5}, {41, 88}, {133, 72}, {205, 5}, {211, 23}},
    {{"#5", true, Action::Option, 20, 1}, {"#2", true, Action::Option, 17, 1},
     {"#4", true, Action::Option, 17, 2}, {"#3", true, Action::Option, 18, 4},
     {"#*", true, Action::Option, 20, 4}, {"#0", true, Action::Option, 20, 2},
     {"#6", true, Action::Number, 29},    {"#9", true, Action::Number, 35},
     {"#1", false, Action::Key},          {"#1", true, Action::KeyChange},
     {"#8", false, Action::Memory},       {"#7", false, Action::ClearNumber, 23}},
    0, 1, true};

const Shape kPellitor{ModelId::Pellitor, true,
    {{25, 6}, {31, 6}, {37, 6}, {43, 6}, {49, 6}, {55, 6}},
    {{{61, 16}, {0, 0}}, {{77, 16}, {0, 0}}, {{93, 16}, {0, 0}}, {{109, 16}, {0, 0}},
     {{125, 4}, {133, 12}}},
    {151, 157, 163, 169},
    {{11, 5}, {61, 68}, {133, 41}},
    {{"*2", false, Action::Option, 20, 1}, {"*4", false, Action::Option, 17, 1},
     {"*3", false, Action::Option, 17, 2}, {"#4", false, Action::Option, 20, 4},
     {"*5", false, Action::Option, 20, 2}, {"*7", false, Action::Number, 37},
     {"*9", true, Action::Number, 49},    {"*8", false, Action::Number, 43},
     {"*0", false, Action::Number, 55},   {"*6", false, Action::Digit, 22},
     {"*1", false, Action::Key},          {"#3", false, Action::Memory},
     {"#1", false, Action::ClearNumber, 25}, {"#2", false, Action::ClearNumber, 31}},
    22, 1, false};

const Shape kKovalindre{ModelId::Kovalindre, true,
    {{23, 6}, {29, 6}, {35, 6}},
    {{{41, 16}, {0, 0}}, {{57, 16}, {0, 0}}, {{73, 16}, {0, 0}}, {{89, 16}, {0, 0}}},
    {},
    {{11, 5}, {41, 64}, {105, 24}, {133, 126}},
    {{"#5", true, Action::Option, 20, 1}, {"#2", true, Action::Option, 17, 1},
     {"#4", true, Action::Option, 17, 2}, {"#3", true, Action::Option, 18, 4},
     {"#*", true, Action::Option, 20, 4}, {"#0", true, Action::Option, 20, 2},
     {"#6", true, Action::Number, 29},    {"#9", true, Action::Number, 35},
     {"#1", false, Action::Key},          {"#8", false, Action::Memory},
     {"#7", false, Action::ClearNumber, 23}},
    0, 1, false};
// clang-format on

const Shape& shapeOf(const MemoryImage& image) {
    switch (image.model().id) {
        case ModelId::Quarn:
            return kQuarn;
        case ModelId::Pellitor:
            return kPellitor;
        default:
            return kKovalindre;
    }
}

// Keys 2 to 25 of the Kovalindre: 2-4 end block 1, 5-25 fill block 2.
int keyPosition(const Shape& s, int key) {
    if (s.id == ModelId::Kovalindre) return key <= 4 ? 111 + 6 * (key - 2) : 133 + 6 * (key - 5);
    return key - 2 < int(s.keys.size()) ? s.keys[key - 2] : 0;
}
int keyCount(const Shape& s) {
    return s.id == ModelId::Kovalindre ? 25 : 5;
}

bool isDial(const Shape& s, int position) {
    for (const Span& d : s.dial)
        if (position >= d.at && position < d.at + d.count) return true;
    return false;
}

// A dial character to the digit kept: "0" "A", "*" "B", "#" "C"; "" for anything else.
QString dialDigit(QChar c) {
    if (c == '0') return QStringLiteral("A");
    if (c == '*') return QStringLiteral("B");
    if (c == '#') return QStringLiteral("C");
    if ((c >= '1' && c <= '9') || c == 'F') return QString(c);
    return {};
}

bool isHex(QChar c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

bool allDecimal(const QString& text) {
    for (QChar c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// `text` as dial digits over `count` positions, "F" behind; empty when it cannot be stored.
QString dialText(const QString& text, int count) {
    if (text.size() > count) return {};
    QString out;
    for (QChar c : text) {
        const QString d = dialDigit(c);
        if (d.isEmpty() || d == QStringLiteral("F")) return {};
        out += d;
    }
    return out.leftJustified(count, 'F');
}

QString deviceKey(const MemoryImage& image) {
    return MapToDialDigits(image.mid(keyAt(shapeOf(image), image), 5));
}

void setKey1(MemoryImage& image, const QString& dial) {
    image.set(11, dial);
    image.set(keyAt(shapeOf(image), image), dial);
}

void factory(MemoryImage& image) {
    const Shape& s = shapeOf(image);
    if (s.id == ModelId::Pellitor) {
        // Two decimal characters, as the reader takes them.
        const QString decimal = HexToDec(image.mid(3, 2));
        image.set(3, decimal.rightJustified(2, '0').right(2));
    }
    setKey1(image, QStringLiteral("12345"));
    image.set(17, QStringLiteral("000000"));
    if (s.localDigitsAt) image.set(s.localDigitsAt, QStringLiteral("700"));
    for (const Span& n : s.numbers) image.set(n.at, QStringLiteral("000000"));
}

Result setUp(MemoryImage& image, const QString& key, const QString& options) {
    if (!key.isEmpty()) {
        const QString dial = dialText(key, 5);
        if (key.size() != 5 || !allDecimal(key) || dial.isEmpty())
            return {Outcome::Rejected, QStringLiteral("the key is five digits")};
        setKey1(image, dial);
    }
    if (!options.isEmpty()) {
        // Options 1, 3, 4, 5, 6 and the trunk as a seventh.
        static const int at[7] = {20, 0, 17, 17, 18, 20, 20};
        static const int bit[7] = {1, 0, 1, 2, 4, 4, 2};
        if (options.size() > 7 || options.count('0') + options.count('1') != options.size())
            return {Outcome::Rejected, QStringLiteral("options are up to seven 0/1 characters")};
        for (int k = 0; k < 7; ++k) {
            if (at[k] == 0) continue;
            const int d = image.digit(at[k]);
            const bool on = k < options.size() && options.at(k) == '1';
            image.setDigit(at[k], on ? (d | bit[k]) : (d & ~bit[k]));
        }
    }
    return {Outcome::Applied,
            QStringLiteral("key %1, options %2").arg(deviceKey(image), image.mid(17, 4))};
}

Result applyData(MemoryImage& image, const QString& dataText) {
    const Shape& s = shapeOf(image);
    const int length = dataLength(s, image);
    if (dataText.size() != length)
        return {Outcome::Rejected, QStringLiteral("data text of %1 characters, %2 expected")
                                       .arg(dataText.size())
                                       .arg(length)};
    QString text = dataText;
    if (s.closingF) {
        if (!text.endsWith('f')) return {Outcome::Rejected, QStringLiteral("no closing f")};
        text.chop(1);
    }
    MemoryImage next = image;
    for (int k = 1; k <= text.size(); ++k) {
        const int position = k <= 122 ? k + 6 : k + 10;
        const QChar c = text.at(k - 1);
        const QString digit = isDial(s, position) ? dialDigit(c) : (isHex(c) ? QString(c) : "");
        if (digit.isEmpty())
            return {Outcome::Rejected,
                    QStringLiteral("character %1 (\"%2\") cannot be stored").arg(k).arg(c)};
        next.set(position, digit);
    }
    image = next;
    return {Outcome::Applied, QStringLiteral("modifier %1, key %2, options %3")
                                  .arg(image.mid(7, 4), deviceKey(image), image.mid(17, 4))};
}

Result storeNumber(MemoryImage& image, int at, const QString& value) {
    if (value.isEmpty() || value.size() > 3 || !allDecimal(value))
        return {Outcome::Rejected, QStringLiteral("%1 is not a number of three digits").arg(value)};
    const QString n = value.rightJustified(3, '0');
    image.set(at, QStringLiteral("0") + n[0] + '0' + n[1] + '0' + n[2]);
    return {Outcome::Applied, QStringLiteral("map %1 now %2").arg(at).arg(image.mid(at, 6))};
}

Result storeKey(MemoryImage& image, int key, const QString& value) {
    const Shape& s = shapeOf(image);
    const QString dial = dialText(value, 5);
    if (value.isEmpty() || !allDecimal(value) || dial.isEmpty())
        return {Outcome::Rejected, QStringLiteral("key %1 is not up to five digits").arg(value)};
    if (key == 1) {
        setKey1(image, dial);
    } else if (key >= 2 && key <= keyCount(s)) {
        image.set(keyPosition(s, key), dial);
    } else {
        return {Outcome::Rejected, QStringLiteral("no key %1").arg(key)};
    }
    return {Outcome::Applied, QStringLiteral("key %1 now %2").arg(key).arg(value)};
}

Result applySingle(MemoryImage& image, const QStringList& fields) {
    const Shape& s = shapeOf(image);
    QString message = fields.join(',');
    if (s.closingF) {
        if (!message.endsWith('f')) return {Outcome::Rejected, QStringLiteral("no closing f")};
        message.chop(1);
    }
    const QString code = message.left(2);
    const bool separated = message.mid(2, 1) == QStringLiteral(",");
    const QStringList parts = message.mid(separated ? 3 : 2).split(',');
    const Single* single = nullptr;
    for (const Single& c : s.singles)
        if (code == QLatin1String(c.code) && separated == c.separated) single = &c;
    if (!single) return {Outcome::Rejected, QStringLiteral("unknown command %1").arg(message)};
    if (parts.at(0) != deviceKey(image))
        return {Outcome::WrongKey, QStringLiteral("key %1 does not open it").arg(parts.at(0))};
    const QString last = parts.last();

    switch (single->action) {
        case Action::Option: {
            if (parts.size() != 2 || (last != QLatin1String("9") && last != QLatin1String("0")))
                return {Outcome::Rejected, QStringLiteral("value %1 is neither 9 nor 0").arg(last)};
            const int d = image.digit(single->at);
            image.setDigit(single->at,
                           last == QLatin1String("9") ? (d | single->value) : (d & ~single->value));
            return {Outcome::Applied, QStringLiteral("options %1").arg(image.mid(17, 4))};
        }
        case Action::Number:
            if (parts.size() != 2) return {Outcome::Rejected, QStringLiteral("not key,value")};
            return storeNumber(image, single->at, last);
        case Action::ClearNumber:
            if (parts.size() != 1) return {Outcome::Rejected, QStringLiteral("not the key alone")};
            return storeNumber(image, single->at, QStringLiteral("000"));
        case Action::Digit:
            if (parts.size() != 2 || last.size() != 1 || last < QLatin1String("5") ||
                last > QLatin1String("8"))
                return {Outcome::Rejected, QStringLiteral("%1 is not 5 to 8").arg(last)};
            image.set(single->at, last);
            return {Outcome::Applied, QStringLiteral("local digits %1").arg(last)};
        case Action::Memory: {
            if (parts.size() != 3 || !allDecimal(parts.at(1)) || parts.at(1).isEmpty())
                return {Outcome::Rejected, QStringLiteral("not key,index,number")};
            int box = parts.at(1).toInt() - s.memoryIndexBase;
            if (s.memoryTenIsZero && parts.at(1) == QLatin1String("0")) box = 9;
            if (box < 0 || box >= int(s.memories.size()))
                return {Outcome::Rejected, QStringLiteral("no memory %1").arg(parts.at(1))};
            const Memory& m = s.memories[box];
            const QString dial = dialText(last, m.first.count + m.second.count);
            if (dial.isEmpty() && !last.isEmpty())
                return {Outcome::Rejected, QStringLiteral("%1 is not a number").arg(last)};
            const QString all = dial.isEmpty() ? QString(16, 'F') : dial;
            image.set(m.first.at, all.left(m.first.count));
            if (m.second.count) image.set(m.second.at, all.mid(m.first.count));
            return {Outcome::Applied, QStringLiteral("memory %1 now %2").arg(box).arg(last)};
        }
        case Action::Key:
            if (parts.size() != 3 || !allDecimal(parts.at(1)) || parts.at(1).isEmpty())
                return {Outcome::Rejected, QStringLiteral("not key,number,value")};
            return storeKey(image, parts.at(1).toInt(), last);
        case Action::KeyChange:
            // ",previous,1,,new" (",previous,,,new" on firmware 8)
            if (parts.size() != 4) return {Outcome::Rejected, QStringLiteral("not a key change")};
            return storeKey(image, 1, last);
    }
    return {Outcome::Rejected, {}};
}

Result resetKey(MemoryImage& image, const MemoryImage& factoryImage) {
    setKey1(image, factoryImage.mid(11, 5));
    return {Outcome::Applied, QStringLiteral("key back to %1").arg(deviceKey(image))};
}

}  // namespace

const ModelBehaviour kLongReplyBehaviour{
    .factory = factory,
    .setUp = setUp,
    .applyData = applyData,
    .applySingle = applySingle,
    .key = deviceKey,
    .resetKey = resetKey,
};

}  // namespace morla::devsim
