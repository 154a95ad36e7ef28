#include "fields/handlers.h"

namespace morla::fields {

namespace {

using enum Shape;
using enum ValueSource;
using V = ValueSource;
using I = IndexRule;

// clang-format off
constexpr HandlerRow kHandlers[] = {
    // Restriction boxes of every model
    {"MorChkRes",           9, 1, RightPress,  kOwnNumber, BoxValue,   I::Unchanged},
    // Key box of every model: the key change form, no menu
    {"MorTexResCla",        0, 0, DoubleClick, 10, V::Unchanged, I::Unchanged, Also::KeyChangeForm},
    // Sorvanell
    {"MorChkAleTono",       0, 0, RightPress,  11, V::Unchanged, I::Unchanged},
    {"MorChkAleBlqGrb",     0, 0, RightPress,  12, V::Unchanged, I::Unchanged},
    {"MorTxtAleAut",        0, 0, DoubleClick, 13, Text,       I::Unchanged},
    {"MorTxtAleDigAler",    0, 0, DoubleClick, 14, Text,       I::Unchanged},
    // Zentavira
    {"MorChkUniLib",        0, 0, RightPress,  11, BoxValue,   I::Unchanged},
    {"MorTexUniDurP",       0, 0, DoubleClick, 12, Text,       I::Unchanged},
    {"MorTexUniDurL",       0, 0, DoubleClick, 13, Text,       I::Unchanged},
    {"MorTexUniCon",        0, 0, DoubleClick, 14, Text,       I::Unchanged},
    {"MorCmdUniBor",        0, 0, RightPress,  14, ButtonBoolean, I::Unchanged},
    {"MorTxtUniMe4",       14, 0, DoubleClick, 15, Text,       I::Element},
    {"MorTxtUniMe16",      10, 0, DoubleClick, 16, Text,       I::ElementPlus13},
    {"MorCmdUniBor",        0, 0, Click,       17, V::Unchanged, I::Unchanged},
    // Haldrivonexa
    {"MorTexMultDurP",      0, 0, DoubleClick, 11, Text,       I::Unchanged},
    {"MorTexMultDurL",      0, 0, DoubleClick, 12, Text,       I::Unchanged},
    {"MorTexMultCon",       0, 0, DoubleClick, 13, Text,       I::Unchanged},
    {"MorChkMultResNum0XX", 9, 0, RightPress,  14, BoxValue,   I::Element},
    {"MorChkMultResLarDis", 6, 0, RightPress,  15, BoxValue,   I::Element},
    // Quarn
    {"MorChkFlhResC", kAnyCount, 0, RightPress,  11, BoxValue,   I::Unchanged},
    {"MorTexFlhDurP",       0, 0, DoubleClick, 12, Text,       I::Unchanged},
    {"MorTexFlhLimSerMed",  0, 0, DoubleClick, 13, Text,       I::Unchanged},
    {"MorTexFlhClv",        4, 0, DoubleClick, 14, Text,       I::Element},
    {"MorTexFlhNumTel",    10, 0, DoubleClick, 15, Text,       I::Element},
    // Clearing the counter ("#7" and the key) needs no value.
    {"MorCmdFlhBorr",       0, 0, Click,       16, V::Unchanged, I::Unchanged},
    // Pellitor
    {"MorChkConCon", kAnyCount, 0, RightPress,  11, BoxValue,   I::Unchanged},
    {"MorTexConSMNP",       0, 0, DoubleClick, 12, Text,       I::Unchanged},
    {"MorTexConSMT",        0, 0, DoubleClick, 13, Text,       I::Unchanged},
    {"MorTexConLDNP",       0, 0, DoubleClick, 14, Text,       I::Unchanged},
    {"MorTexConLDT",        0, 0, DoubleClick, 15, Text,       I::Unchanged},
    {"MorLabConDLL",        0, 0, DoubleClick, 16, ListText,   I::Unchanged, Also::Nothing, nullptr,
     "MorComConDLL"},
    {"MorTexConClv",        4, 0, DoubleClick, 17, Text,       I::Element},
    {"MorTexConNumTel",     5, 0, DoubleClick, 18, Text,       I::Element},
    {"MorCmdConSMB",        0, 0, Click,       19, V::Unchanged, I::Unchanged},
    {"MorCmdConLDB",        0, 0, Click,       20, V::Unchanged, I::Unchanged},
    // Kovalindre
    {"MorChkMulClvCom", kAnyCount, 0, RightPress,  11, BoxValue,   I::Unchanged},
    {"MorTxtMulClvDurP",    0, 0, DoubleClick, 12, Text,       I::Unchanged},
    {"MorTexMulClvDurL",    0, 0, DoubleClick, 13, Text,       I::Unchanged},
    {"MorTxtMulClvClv",    24, 0, DoubleClick, 14, Text,       I::Element},
    {"MorTexMulClvNumTel",  4, 0, DoubleClick, 15, Text,       I::Element},
    {"MorCmdMulClvCon",     0, 0, Click,       16, V::Unchanged, I::Unchanged},
    // Tervolinda
    {"MorTxtPrivClvSal",    0, 0, DoubleClick, 11, Text,       I::Unchanged, Also::KeyEditor, "3"},
    {"MorFraPrivElim1",     0, 0, RightPress,  12, BoxValue,   I::Unchanged, Also::KeyEditorAnyPress, "1"},
    {"MorFraPrivNum9",      0, 0, RightPress,  13, BoxValue,   I::Unchanged, Also::KeyEditorAnyPress, "4"},
};
// clang-format on

}  // namespace

std::span<const HandlerRow> HandlerTable() { return kHandlers; }

}  // namespace morla::fields
