#include "core/models/quarn.h"

#include "core/codec/codec.h"

namespace morla::quarn {

namespace {
using longreply::Kind;
using longreply::Run;
using longreply::Target;
using longreply::Value;

// clang-format off
constexpr Run kRuns[] = {
    {"MorTexFlhCon",       0, 0,  Kind::Number, 23},
    {"MorTexFlhDurP",      0, 0,  Kind::Number, 29},
    {"MorTexFlhLimSerMed", 0, 0,  Kind::Number, 35},
    {"MorTexFlhNumTel",    0, 5,  Kind::Dial,   41, 16, 16},
    // Memory 5 ends block 1 and begins block 2.
    {"MorTexFlhNumTel05",  0, 0,  Kind::Dial,   121, 0, 8, 133, 8},
    {"MorTexFlhNumTel",    6, 4,  Kind::Dial,   141, 16, 16},
    {"MorTexFlhClv",       1, 4,  Kind::Key,    211, 6},
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
    {14, "#1", false, 1, false, Value::Typed},
    // Box 9 holds memory "0".
    {15, "#8", false, 1, true,  Value::Typed},
    {16, "#7", false, 0, false, Value::None},
};

constexpr longreply::RecordFill kFills[] = {
    {longreply::Caption(1), Target::Caption,    "MorChkFlhResC00"},
    {longreply::Default(1), Target::CheckValue, "MorChkFlhResC00"},
    {longreply::Caption(4), Target::Caption,    "MorLabFlhDurP"},
    {longreply::Default(4), Target::Text,       "MorTexFlhDurP"},
    {longreply::Caption(6), Target::Caption,    "MorFraFlhFraNumTel"},
    {longreply::Caption(7), Target::Caption,    "MorLabFlhLimSerMed"},
    {longreply::Default(7), Target::Text,       "MorTexFlhLimSerMed"},
};
// clang-format on

longreply::Layout layout(int keyAt, int dataLength) {
    return {longreply::Expand(kRuns), keyAt, 0, dataLength, false, 'F'};
}
}  // namespace

bool IsDolmeth(const QString& firmwareCode) {
    return ValOf(firmwareCode) <= kLastDolmethFirmware;
}

QString Title(const QString& firmwareCode) {
    return IsDolmeth(firmwareCode) ? QStringLiteral(" Quarn Dolmeth")
                                   : QStringLiteral(" Quarn Conmutador");
}

const longreply::Layout& Layout(const QString& firmwareCode) {
    static const longreply::Layout dolmeth = layout(11, 194);
    static const longreply::Layout conmutador = layout(205, 224);
    return IsDolmeth(firmwareCode) ? dolmeth : conmutador;
}

std::span<const longreply::Command> Commands() {
    return kCommands;
}

std::span<const longreply::RecordFill> RecordFills() {
    return kFills;
}

QString KeyChange(const QString& separator, const QString& previousKey, const QString& newKey,
                  const QString& firmwareCode) {
    const QString one = firmwareCode == QStringLiteral("8") ? QString() : QStringLiteral("1");
    return QStringLiteral("#1") + separator + previousKey + separator + one + separator +
           separator + newKey;
}

}  // namespace morla::quarn
