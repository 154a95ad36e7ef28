#include "core/models/zentavira.h"

#include "core/codec/codec.h"

namespace morla::zentavira {

namespace {
using layout::Encoding;
using layout::EverySecond;
using layout::Join;
using layout::Run;

QString element(const char* array, int k) {
    return QString::fromLatin1(array) + QStringLiteral("%1").arg(k, 2, 10, QLatin1Char('0'));
}

layout::Layout table() {
    // clang-format off
    layout::Layout t{266, {
        {.encoding = Encoding::Fixed, .places = {11}, .fixed = "2"},
        // Option 1 in digit 13, options 2 and 3 in digit 14 (which always carries a 1 in its
        // lowest bit), option 4, the memory table freed, in digit 12.
        {.control = "MorTexBan", .encoding = Encoding::Bits, .places = Run(12, 3),
         .bits = {{1, 13, 1}, {2, 14, 2}, {3, 14, 4}, {4, 12, 1}, {0, 14, 1}},
         .characters = 4, .caption = "Opciones"},
        {.encoding = Encoding::Fixed, .places = {15}, .fixed = "00"},
        {.control = "MorTexUniDurL", .encoding = Encoding::Number, .places = EverySecond(18, 3), .spaced = true},
        {.control = "MorTexUniDurP", .encoding = Encoding::Number, .places = EverySecond(24, 3), .spaced = true},
        {.control = "MorTexUniCon", .encoding = Encoding::DialDigits, .places = EverySecond(30, 3), .spaced = true},
        {.control = "MorTexResCla", .encoding = Encoding::KeyDigits, .places = Run(35, kKeyLength)},
        {.encoding = Encoding::Fixed, .places = {131}, .fixed = "45"},
        {.encoding = Encoding::Fixed, .places = {259}, .fixed = "6E"},
        {.encoding = Encoding::Fixed, .places = {263}, .fixed = "03FE"},
    }, {{7, 128}, {133, 258}}, 2};
    // clang-format on
    for (int k = 0; k < kShortMemories; ++k)
        t.fields.push_back({.control = element("MorTxtUniMe4", k),
                            .encoding = Encoding::DialDigits,
                            .places = Run(39 + 4 * k, 4)});
    // Memory 2 ends block 1 and goes on in block 2.
    for (int k = 0; k < kLongMemories; ++k)
        t.fields.push_back({.control = element("MorTxtUniMe16", k),
                            .encoding = Encoding::DialDigits,
                            .places = k < 2    ? Run(95 + 16 * k, 16)
                                      : k == 2 ? Join(Run(127, 2), Run(133, 14))
                                               : Run(147 + 16 * (k - 3), 16)});
    return t;
}
}  // namespace

const layout::Layout& Layout() {
    static const layout::Layout t = table();
    return t;
}

int MemoryTableFreed(const QString& map) {
    const QString d12 = map.mid(11, 1);
    return d12 == QStringLiteral("1") ? 1 : d12 == QStringLiteral("0") ? 0 : -1;
}

SingleCommand CompleteSend(const CommandInput& in) {
    SingleCommand out;
    const QString& n = in.CommandNumber;
    const bool active = in.keyStatus == QStringLiteral("Activado");
    if (n == QStringLiteral("10")) {
        out.CommandString = QStringLiteral("#20") + in.previousKey + in.sep + in.key;
        return out;
    }
    if (n == QStringLiteral("17")) {
        if (active) out.CommandString = QStringLiteral("#30") + in.key;
        return out;
    }
    struct OnOff {
        const char* number;
        const char* code;
    };
    static constexpr OnOff kOnOff[] = {{"1", "#24"}, {"2", "#25"}, {"6", "#26"}, {"11", "#28"}};
    for (const OnOff& row : kOnOff) {
        if (n != QLatin1String(row.number)) continue;
        out.SendData = OnOffValue(in.CommandValue);
        if (active)
            out.CommandString =
                OnOffCommand(QLatin1String(row.code), in.sep, in.key, in.CommandValue);
        return out;
    }
    // Typed values go as typed.
    const QString& v = in.CommandValue;
    QString command;
    if (n == QStringLiteral("12")) {
        command = QStringLiteral("#21") + in.sep + in.key + in.sep + v;
    } else if (n == QStringLiteral("13")) {
        command = QStringLiteral("#22") + in.sep + in.key + in.sep + v;
    } else if (n == QStringLiteral("14")) {
        command = QStringLiteral("#23") + in.sep + in.key + in.sep + TrunkDigits(v, in.sep);
    } else if (n == QStringLiteral("15") || n == QStringLiteral("16")) {
        const long long k = ValOf(in.CommandIndex) + (n == QStringLiteral("16") ? 1 : 0);
        const QString index = (QStringLiteral("0") + QString::number(k)).right(2);
        out.CommandIndex = index;
        command = QStringLiteral("#27") + in.key + in.sep + index + in.sep + v;
    } else {
        return out;
    }
    out.SendData = v;
    if (active) out.CommandString = command;
    return out;
}

}  // namespace morla::zentavira
