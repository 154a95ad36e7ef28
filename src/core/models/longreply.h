#pragma once
// The long-reply restrictors (Quarn, Pellitor, Kovalindre): one shape, told apart by their
// tables. Key 1, option digits 17, 18 and 20, three-digit numbers, memory numbers and keys sit
// at fixed map positions; a whole write's data text is map 7-128 and then block 2 from map
// 133, and its frame carries block 2 only up to map 234 (the Dolmeth's up to 204).
#include <QString>
#include <span>
#include <vector>

#include "core/models/layout.h"

namespace morla {
struct ModelInfo;
}

namespace morla::longreply {

inline constexpr int kMapLength = 266;
inline constexpr int kKeyDigits = 5;

// Three decimal digits as "0"-digit pairs over the six positions from `at`.
layout::Field Number(const QString& control, int at, bool read = true);
// Dial digits at `places`, "F" for the missing ones.
layout::Field Dial(const QString& control, std::vector<int> places);
// Five dial digits from `at`; the place after them stays "F".
layout::Field Key(const QString& control, int at);
// "box" and a two-digit element number.
QString Element(const char* box, int k);

struct Shape {
    int keyAt;          // key 1 as the device keeps it (a write also puts it at map 11)
    int localDigitsAt;  // a one-character list value, 0 for none
    int dataLength;     // data text characters that mirror the map
    bool closingF;      // the data text ends in a lower-case "f"
    QChar block2Fill;   // the frame's block 2 after "6E": 24 "F" or 84 "0"
};
// A model's table: key 1, the options and trunk, the list value, then `boxes`.
layout::Layout Table(const Shape& shape, std::vector<layout::Field> boxes);

// The options field holds the six restriction flags and, as its seventh character, the trunk
// (option 2 has no bit); the panel shows them in the flags box and the trunk's check box.
inline constexpr char kOptions[] = "MorTexBan";
// The options field's value for a write: an empty trunk state (no read yet) is written as off.
QString OptionsValue(const QString& flags, const QString& trunk);

// Map 1-10 of a write: kind byte, firmware (two characters where the model sends it so, else
// the first two characters of the firmware box in hex), class code or "00", installation code
// to four digits.
QString Header(const ModelInfo& m, const QString& firmwareBox, const QString& classCode,
               const QString& installationCode);

// Single commands.
enum class Value {
    OnOff,  // "1" sent as "9", "0" as "0"
    Typed,  // the text as typed
    None,   // no value
};
struct Command {
    int number;
    const char* code;
    bool separatorBeforeKey;  // code & "," & key, else code & key
    int indexAdd;             // CommandIndex + indexAdd goes after the key; 0 for none
    bool indexTenIsZero;      // index 10 is sent as "0"
    Value value;
};
const Command* FindCommand(std::span<const Command> table, const QString& commandNumber);
// v: "9" for exactly "1", "0" for exactly "0", otherwise the text.
QString CommandValueText(const Command& c, const QString& commandValue);
// The index sent for CommandIndex (empty when the command carries none).
QString CommandIndexText(const Command& c, const QString& commandIndex);
QString CommandText(const Command& c, const QString& separator, const QString& key,
                    const QString& index, const QString& value, const QString& suffix);

}  // namespace morla::longreply

namespace morla::longreply {

// A panel control filled from the model's configuration record when the panel is shown.
enum class Target {
    Caption,     // the control's caption (a label, check box or frame title)
    Text,        // a text box's text
    CheckValue,  // a check box: numeric 1 ticks it, 0 clears it, anything else leaves it
    ListItem,    // a list: the first item equal to the field becomes the selected one
};
struct RecordFill {
    int field;  // 0-based field of the record: parameter caption k is k - 1, default k is 19 + k
    Target target;
    const char* control;
};
constexpr int Caption(int parameter) {
    return parameter - 1;
}
constexpr int Default(int parameter) {
    return 19 + parameter;
}

}  // namespace morla::longreply
