#include "core/models/haldrivonexa.h"

#include "core/codec/codec.h"

namespace morla::haldrivonexa {

namespace {
using layout::Encoding;
using layout::EverySecond;
using layout::Run;

QString element(const char* array, int k) {
    return QString::fromLatin1(array) + QStringLiteral("%1").arg(k, 2, 10, QLatin1Char('0'));
}

// One check box: bit 4, 2 or 1 of a digit, three boxes to a digit from the left.
layout::Field box(const char* array, int k, int digit) {
    return {.control = element(array, k),
            .encoding = Encoding::Bits,
            .places = {digit},
            .bits = {{1, digit, 4 >> (k % 3)}},
            .characters = 1};
}

layout::Layout table() {
    // clang-format off
    layout::Layout t{134, {
        {.control = "MorTexResCla", .encoding = Encoding::KeyDigits, .places = Run(11, kKeyLength)},
        {.encoding = Encoding::Fixed, .places = {15}, .fixed = "00"},
        {.control = "MorTexMultCon", .encoding = Encoding::DialDigits, .places = EverySecond(18, 3), .spaced = true},
        // Options 2 and 6 share digit 26: option 2 is its bit of value 2, option 6 its bit of
        // value 4, in both directions.
        {.control = "MorTexBan", .encoding = Encoding::Bits, .places = Run(23, 4),
         .bits = {{1, 25, 1}, {2, 26, 2}, {3, 23, 1}, {4, 23, 2}, {5, 24, 4}, {6, 26, 4}},
         .characters = 6, .caption = "Opciones"},
        {.encoding = Encoding::Fixed, .places = {31}, .fixed = "0"},
        {.control = "MorTexMultDurL", .encoding = Encoding::Number, .places = EverySecond(34, 3), .spaced = true},
        {.control = "MorTexMultDurP", .encoding = Encoding::Number, .places = EverySecond(40, 3), .spaced = true},
        {.encoding = Encoding::Fixed, .places = {131}, .fixed = "03FE"},
    }, {{7, 44}, {0, 0, "f"}}};
    // clang-format on
    // Prefixes 0-8 in digits 27-29, long distance 0-5 in digits 30 and 32.
    for (int k = 0; k < kPrefixBoxes; ++k)
        t.fields.push_back(box("MorChkMultResNum0XX", k, 27 + k / 3));
    for (int k = 0; k < kLongDistanceBoxes; ++k)
        t.fields.push_back(box("MorChkMultResLarDis", k, k < 3 ? 30 : 32));
    return t;
}
}  // namespace

const layout::Layout& Layout() {
    static const layout::Layout t = table();
    return t;
}

QString LongDistanceCode(const QString& index) {
    static const char* codes[] = {"51", "55", "58", "61", "62", "63"};
    if (IsWholeNumber(index)) {
        const long long k = ValOf(index);
        if (k >= 0 && k < kLongDistanceBoxes) return QString::fromLatin1(codes[k]);
    }
    return index;
}

SingleCommand CompleteSend(const CommandInput& in) {
    SingleCommand out;
    const QString& n = in.CommandNumber;
    const bool active = in.keyStatus == QStringLiteral("Activado");
    if (n == QStringLiteral("10")) {
        out.CommandString = QStringLiteral("#20") + in.sep + in.previousKey + in.sep + in.key;
        return out;
    }
    QString code;
    bool onOff = true;
    static const char* options[] = {"#50", "#52", "#64", "#53", "#71", "#54"};
    if (IsWholeNumber(n) && ValOf(n) >= 1 && ValOf(n) <= 6) {
        code = QString::fromLatin1(options[ValOf(n) - 1]);
    } else if (n == QStringLiteral("14")) {
        code = QStringLiteral("#") + QString::number(ValOf(in.CommandIndex) + 41);
    } else if (n == QStringLiteral("15")) {
        out.CommandIndex = LongDistanceCode(in.CommandIndex);
        code = QStringLiteral("#") + *out.CommandIndex;
    } else if (n == QStringLiteral("11") || n == QStringLiteral("12") ||
               n == QStringLiteral("13")) {
        onOff = false;
    } else {
        return out;
    }
    if (onOff) {
        out.SendData = OnOffValue(in.CommandValue);
        if (active) out.CommandString = OnOffCommand(code, in.sep, in.key, in.CommandValue);
        return out;
    }
    // Typed values go as typed.
    const QString& v = in.CommandValue;
    out.SendData = v;
    if (!active) return out;
    if (n == QStringLiteral("11"))
        out.CommandString = QStringLiteral("#21") + in.sep + in.key + in.sep + v;
    else if (n == QStringLiteral("12"))
        out.CommandString = QStringLiteral("#22") + in.sep + in.key + in.sep + v;
    else
        out.CommandString =
            QStringLiteral("#23") + in.sep + in.key + in.sep + TrunkDigits(v, in.sep);
    return out;
}

}  // namespace morla::haldrivonexa
