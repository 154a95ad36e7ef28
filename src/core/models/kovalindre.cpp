#include "core/models/kovalindre.h"

namespace morla::kovalindre {

namespace {
using longreply::Element;
using longreply::Number;
using longreply::Target;
using longreply::Value;

// clang-format off
constexpr longreply::Command kCommands[] = {
    {1,  "#5", true,  0, false, Value::OnOff},
    {3,  "#2", true,  0, false, Value::OnOff},
    {4,  "#4", true,  0, false, Value::OnOff},
    {5,  "#3", true,  0, false, Value::OnOff},
    {6,  "#*", true,  0, false, Value::OnOff},
    {11, "#0", true,  0, false, Value::OnOff},
    {12, "#6", true,  0, false, Value::Typed},
    {13, "#9", true,  0, false, Value::Typed},
    // Box k holds key k + 2.
    {14, "#1", false, 2, false, Value::Typed},
    {15, "#8", false, 1, false, Value::Typed},
    {16, "#7", false, 0, false, Value::None},
};

constexpr longreply::RecordFill kFills[] = {
    {longreply::Caption(1), Target::Caption,    "MorChkMulClvCom01"},
    {longreply::Default(1), Target::CheckValue, "MorChkMulClvCom01"},
    {longreply::Caption(4), Target::Caption,    "MorLabMulClvDurP"},
    {longreply::Default(4), Target::Text,       "MorTxtMulClvDurP"},
    {longreply::Caption(7), Target::Caption,    "MorLabMulClvDurL"},
    {longreply::Default(7), Target::Text,       "MorTexMulClvDurL"},
    {longreply::Default(8), Target::Text,       "MorTxtMulClvCon"},
};
// clang-format on

layout::Layout table() {
    std::vector<layout::Field> boxes{Number("MorTxtMulClvCon", 23), Number("MorTxtMulClvDurP", 29),
                                     Number("MorTexMulClvDurL", 35)};
    for (int k = 0; k < 4; ++k)
        boxes.push_back(
            longreply::Dial(Element("MorTexMulClvNumTel", k), layout::Run(41 + 16 * k, 16)));
    // Keys 2 to 4 end block 1, keys 5 to 25 fill block 2.
    for (int k = 0; k < kPanelKeys; ++k)
        boxes.push_back(
            longreply::Key(Element("MorTxtMulClvClv", k), k < 3 ? 111 + 6 * k : 133 + 6 * (k - 3)));
    return longreply::Table({105, 0, 248, true, 'F'}, std::move(boxes));
}
}  // namespace

const layout::Layout& Layout() {
    static const layout::Layout t = table();
    return t;
}

std::span<const longreply::Command> Commands() {
    return kCommands;
}

std::span<const longreply::RecordFill> RecordFills() {
    return kFills;
}

QString KeyChange(const QString& separator, const QString& previousKey, const QString& newKey) {
    return QStringLiteral("#1") + previousKey + separator + QStringLiteral("01") + separator +
           newKey + QStringLiteral("f");
}

}  // namespace morla::kovalindre
