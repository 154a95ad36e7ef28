#include "core/models/luvero.h"

#include "core/codec/codec.h"

namespace morla::luvero {

namespace {
using layout::Encoding;
using layout::Run;
}  // namespace

const layout::Layout& Layout() {
    // clang-format off
    static const layout::Layout table{134, {
        {.control = "MorTexResCla", .encoding = Encoding::KeyDigits, .places = Run(11, kKeyLength)},
        {.encoding = Encoding::Fixed, .places = {15}, .fixed = "66"},
        // Options 2 and 6 share digit 20: option 2 is its bit of value 2, option 6 its bit of
        // value 4, in both directions.
        {.control = "MorTexBan", .encoding = Encoding::Bits, .places = Run(17, 4),
         .bits = {{1, 19, 1}, {2, 20, 2}, {3, 17, 1}, {4, 17, 2}, {5, 18, 4}, {6, 20, 4}},
         .characters = 6, .caption = "Opciones"},
        {.encoding = Encoding::Fixed, .places = {21}, .fixed = "6E"},
        {.encoding = Encoding::Fixed, .places = {131}, .fixed = "03FE"},
    }, {{7, 14}, {0, 0, "FF"}, {17, 20}}};
    // clang-format on
    return table;
}

QString OptionCommandCode(const QString& commandNumber) {
    static const char* codes[] = {"#1", "#3", "#4", "#5", "#6", "#9"};
    if (!IsWholeNumber(commandNumber)) return {};
    const long long n = ValOf(commandNumber);
    return n >= 1 && n <= 6 ? QString::fromLatin1(codes[n - 1]) : QString();
}

}  // namespace morla::luvero
