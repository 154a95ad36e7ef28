#include "core/models/pellitor.h"

#include <QStringList>

namespace morla::pellitor {

namespace {
using longreply::Element;
using longreply::Number;
using longreply::Target;
using longreply::Value;

// clang-format off
constexpr longreply::Command kCommands[] = {
    {1,  "*2", false, 0, false, Value::OnOff},
    {3,  "*4", false, 0, false, Value::OnOff},
    {4,  "*3", false, 0, false, Value::OnOff},
    {6,  "#4", false, 0, false, Value::OnOff},
    {11, "*5", false, 0, false, Value::OnOff},
    {12, "*7", false, 0, false, Value::Typed},
    {13, "*9", true,  0, false, Value::Typed},
    {14, "*8", false, 0, false, Value::Typed},
    {15, "*0", false, 0, false, Value::Typed},
    {16, "*6", false, 0, false, Value::Typed},
    {17, "*1", false, 1, false, Value::Typed},
    {18, "#3", false, 1, false, Value::Typed},
    {19, "#1", false, 0, false, Value::None},
    {20, "#2", false, 0, false, Value::None},
};

constexpr longreply::RecordFill kFills[] = {
    {longreply::Caption(1), Target::Caption,    "MorChkConCon03"},
    {longreply::Default(1), Target::CheckValue, "MorChkConCon03"},
    {longreply::Default(2), Target::ListItem,   "MorComConDLL"},
    {longreply::Caption(3), Target::Caption,    "MorLabConSMNP"},
    {longreply::Default(3), Target::Text,       "MorTexConSMNP"},
    {longreply::Caption(4), Target::Caption,    "MorLabConLDNP"},
    {longreply::Default(4), Target::Text,       "MorTexConLDNP"},
    {longreply::Caption(5), Target::Caption,    "MorLabConSMT"},
    {longreply::Default(5), Target::Text,       "MorTexConSMT"},
    {longreply::Caption(6), Target::Caption,    "MorLabConLDT"},
    {longreply::Default(6), Target::Text,       "MorTexConLDT"},
    {longreply::Default(7), Target::Text,       "MorTexConSMC"},
    {longreply::Default(8), Target::Text,       "MorTexConLDC"},
};
// clang-format on

layout::Layout table() {
    // The allowed calls are written, never shown from a read.
    std::vector<layout::Field> boxes{
        Number("MorTexConSMC", 25),         Number("MorTexConLDC", 31),
        Number("MorTexConSMNP", 37, false), Number("MorTexConLDNP", 43, false),
        Number("MorTexConSMT", 49),         Number("MorTexConLDT", 55)};
    // Memory 4 ends block 1 and begins block 2.
    for (int k = 0; k < 5; ++k)
        boxes.push_back(
            longreply::Dial(Element("MorTexConNumTel", k),
                            k < 4 ? layout::Run(61 + 16 * k, 16)
                                  : layout::Join(layout::Run(125, 4), layout::Run(133, 12))));
    for (int k = 1; k <= 4; ++k)
        boxes.push_back(longreply::Key(Element("MorTexConClv", k), 151 + 6 * (k - 1)));
    return longreply::Table({145, 22, 164, true, '0'}, std::move(boxes));
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

QStringList LocalDigitItems() {
    return {QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8")};
}

QString KeyChange(const QString& separator, const QString& previousKey, const QString& newKey) {
    return QStringLiteral("*1") + previousKey + separator + QStringLiteral("1") + separator +
           newKey + QStringLiteral("f");
}

}  // namespace morla::pellitor
