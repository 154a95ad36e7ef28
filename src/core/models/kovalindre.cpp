#include "core/models/kovalindre.h"

namespace morla::kovalindre {

namespace {
using longreply::Kind;
using longreply::Run;
using longreply::Target;
using longreply::Value;

// clang-format off
constexpr Run kRuns[] = {
    {"MorTxtMulClvCon",    0, 0,  Kind::Number, 23},
    {"MorTxtMulClvDurP",   0, 0,  Kind::Number, 29},
    {"MorTexMulClvDurL",   0, 0,  Kind::Number, 35},
    {"MorTexMulClvNumTel", 0, 4,  Kind::Dial,   41, 16, 16},
    // Keys 2 to 4 end block 1, keys 5 to 25 fill block 2.
    {"MorTxtMulClvClv",    0, 3,  Kind::Key,    111, 6},
    {"MorTxtMulClvClv",    3, 21, Kind::Key,    133, 6},
};

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
}  // namespace

const longreply::Layout& Layout() {
    static const longreply::Layout layout{longreply::Expand(kRuns), 105, 0, 248, true, 'F'};
    return layout;
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
