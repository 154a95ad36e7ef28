#include "core/fields/handlers.h"

namespace morla::fields {

namespace {

using S = Shape;
using V = ValueSource;
using I = IndexRule;

// clang-format off
constexpr HandlerRow kHandlers[] = {
    // Restriction boxes of every model
    {"MorChkRes",           9,         1, S::RightPress,  kOwnNumber, V::BoxValue,       I::Unchanged},
    // Key box of every model: the key change form, no menu
    {"MorTexResCla",        0,         0, S::DoubleClick, 10,         V::Unchanged,      I::Unchanged, Also::KeyChangeForm},
    // Sorvanell
    {"MorChkAleTono",       0,         0, S::RightPress,  11,         V::Unchanged,      I::Unchanged},
    {"MorChkAleBlqGrb",     0,         0, S::RightPress,  12,         V::Unchanged,      I::Unchanged},
    {"MorTxtAleAut",        0,         0, S::DoubleClick, 13,         V::Text,           I::Unchanged},
    {"MorTxtAleDigAler",    0,         0, S::DoubleClick, 14,         V::Text,           I::Unchanged},
    // Zentavira
    {"MorChkUniLib",        0,         0, S::RightPress,  11,         V::BoxValue,       I::Unchanged},
    {"MorTexUniDurP",       0,         0, S::DoubleClick, 12,         V::Text,           I::Unchanged},
    {"MorTexUniDurL",       0,         0, S::DoubleClick, 13,         V::Text,           I::Unchanged},
    {"MorTexUniCon",        0,         0, S::DoubleClick, 14,         V::Text,           I::Unchanged},
    // Its right press sends the erasing of the memories too, never a trunk-digit command.
    {"MorCmdUniBor",        0,         0, S::RightPress,  17,         V::Unchanged,      I::Unchanged},
    {"MorTxtUniMe4",        14,        0, S::DoubleClick, 15,         V::Text,           I::Element},
    {"MorTxtUniMe16",       10,        0, S::DoubleClick, 16,         V::Text,           I::ElementPlus13},
    {"MorCmdUniBor",        0,         0, S::Click,       17,         V::Unchanged,      I::Unchanged},
    // Haldrivonexa
    {"MorTexMultDurP",      0,         0, S::DoubleClick, 11,         V::Text,           I::Unchanged},
    {"MorTexMultDurL",      0,         0, S::DoubleClick, 12,         V::Text,           I::Unchanged},
    {"MorTexMultCon",       0,         0, S::DoubleClick, 13,         V::Text,           I::Unchanged},
    {"MorChkMultResNum0XX", 9,         0, S::RightPress,  14,         V::BoxValue,       I::Element},
    {"MorChkMultResLarDis", 6,         0, S::RightPress,  15,         V::BoxValue,       I::Element},
    // Quarn
    {"MorChkFlhResC",       kAnyCount, 0, S::RightPress,  11,         V::BoxValue,       I::Unchanged},
    {"MorTexFlhDurP",       0,         0, S::DoubleClick, 12,         V::Text,           I::Unchanged},
    {"MorTexFlhLimSerMed",  0,         0, S::DoubleClick, 13,         V::Text,           I::Unchanged},
    {"MorTexFlhClv",        4,         0, S::DoubleClick, 14,         V::Text,           I::Element},
    {"MorTexFlhNumTel",     10,        0, S::DoubleClick, 15,         V::Text,           I::Element},
    // Clearing the counter ("#7" and the key) carries no value; "0" is what the counter becomes.
    {"MorCmdFlhBorr",       0,         0, S::Click,       16,         V::Zero,           I::Unchanged},
    // Pellitor
    {"MorChkConCon",        kAnyCount, 0, S::RightPress,  11,         V::BoxValue,       I::Unchanged},
    {"MorTexConSMNP",       0,         0, S::DoubleClick, 12,         V::Text,           I::Unchanged},
    {"MorTexConSMT",        0,         0, S::DoubleClick, 13,         V::Text,           I::Unchanged},
    {"MorTexConLDNP",       0,         0, S::DoubleClick, 14,         V::Text,           I::Unchanged},
    {"MorTexConLDT",        0,         0, S::DoubleClick, 15,         V::Text,           I::Unchanged},
    {"MorLabConDLL",        0,         0, S::DoubleClick, 16,         V::ListText,       I::Unchanged, Also::Nothing, nullptr, "MorComConDLL"},
    {"MorTexConClv",        4,         0, S::DoubleClick, 17,         V::Text,           I::Element},
    {"MorTexConNumTel",     5,         0, S::DoubleClick, 18,         V::Text,           I::Element},
    {"MorCmdConSMB",        0,         0, S::Click,       19,         V::Unchanged,      I::Unchanged},
    {"MorCmdConLDB",        0,         0, S::Click,       20,         V::Unchanged,      I::Unchanged},
    // Kovalindre
    {"MorChkMulClvCom",     kAnyCount, 0, S::RightPress,  11,         V::BoxValue,       I::Unchanged},
    {"MorTxtMulClvDurP",    0,         0, S::DoubleClick, 12,         V::Text,           I::Unchanged},
    {"MorTexMulClvDurL",    0,         0, S::DoubleClick, 13,         V::Text,           I::Unchanged},
    {"MorTxtMulClvClv",     24,        0, S::DoubleClick, 14,         V::Text,           I::Element},
    {"MorTexMulClvNumTel",  4,         0, S::DoubleClick, 15,         V::Text,           I::Element},
    {"MorCmdMulClvCon",     0,         0, S::Click,       16,         V::Unchanged,      I::Unchanged},
    // Tervolinda
    {"MorTxtPrivClvSal",    0,         0, S::DoubleClick, 11,         V::Text,           I::Unchanged, Also::KeyEditor, "3"},
    {"MorFraPrivElim1",     0,         0, S::RightPress,  12,         V::BoxValue,       I::Unchanged, Also::KeyEditorAnyPress, "1"},
    {"MorFraPrivNum9",      0,         0, S::RightPress,  13,         V::BoxValue,       I::Unchanged, Also::KeyEditorAnyPress, "4"},
};
// clang-format on

}  // namespace

std::span<const HandlerRow> HandlerTable() {
    return kHandlers;
}

}  // namespace morla::fields
