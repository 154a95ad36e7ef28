#include "core/models/quarn.h"

#include "core/codec/codec.h"

namespace morla::quarn {

namespace {
using longreply::Dial;
using longreply::Element;
using longreply::Key;
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

layout::Layout table(int keyAt, int dataLength) {
    std::vector<layout::Field> boxes{Number("MorTexFlhCon", 23), Number("MorTexFlhDurP", 29),
                                     Number("MorTexFlhLimSerMed", 35)};
    // Memory 5 ends block 1 and begins block 2; box 9 holds memory "0".
    for (int k = 0; k < 10; ++k)
        boxes.push_back(Dial(Element("MorTexFlhNumTel", k),
                             k < 5    ? layout::Run(41 + 16 * k, 16)
                             : k == 5 ? layout::Join(layout::Run(121, 8), layout::Run(133, 8))
                                      : layout::Run(141 + 16 * (k - 6), 16)));
    for (int k = 1; k <= 4; ++k)
        boxes.push_back(Key(Element("MorTexFlhClv", k), 211 + 6 * (k - 1)));
    return longreply::Table({keyAt, 0, dataLength, false, 'F'}, std::move(boxes));
}
}  // namespace

bool IsDolmeth(const QString& firmwareCode) {
    return ValOf(firmwareCode) <= kLastDolmethFirmware;
}

QString Title(const QString& firmwareCode) {
    return IsDolmeth(firmwareCode) ? QStringLiteral(" Quarn Dolmeth")
                                   : QStringLiteral(" Quarn Conmutador");
}

const layout::Layout& Layout(const QString& firmwareCode) {
    static const layout::Layout dolmeth = table(11, 194);
    static const layout::Layout conmutador = table(205, 224);
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
