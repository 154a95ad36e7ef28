#pragma once
// The long-reply restrictors (Quarn, Pellitor, Kovalindre): one shape, told apart by tables.
// Key 1, option digits 17, 18 and 20, three-digit numbers, memory numbers and keys sit at
// fixed map positions; a whole write mirrors the reply, SendData character k landing on map
// position k + 6 up to 122 and on k + 10 after that (the second block starts at 133).
#include <QMap>
#include <QString>
#include <array>
#include <span>
#include <vector>

#include "core/models/modelcore.h"

namespace morla::longreply {

inline constexpr int kMapLength = 266;
inline constexpr int kKeyDigits = 5;
inline constexpr int kNumberDigits = 3;

// Options 1, 3, 4, 5, 6 and the switchboard trunk (kept as option 7 of the flags text) in
// digits 17, 18 and 20; option 2 has no bit. The same placement on all three models, read and
// written alike.
inline constexpr int kTrunkOption = 7;
inline constexpr std::array<OptionBit, 6> kOptionBits{
    {{1, 20, 1}, {3, 17, 1}, {4, 17, 2}, {5, 18, 4}, {6, 20, 4}, {kTrunkOption, 20, 2}}};

enum class Kind {
    Number,  // three decimal digits as "0"-digit pairs over the six positions from `at`
    Dial,    // dial digits over `count` positions from `at`, then `count2` from `at2`
    Key,     // five dial digits from `at`, then "F"
};

// A text box (or one element of a box array) and where its digits live.
struct Field {
    QString box;  // objectName
    Kind kind;
    int at;
    int count = 0;
    int at2 = 0;
    int count2 = 0;
    bool read = true;  // false: written by a whole write, never shown from a read
};

// Rows that expand to fields: `elements` boxes named `box` + two-digit element number from
// `first`, the k-th at `at` + k·`stride`.
struct Run {
    const char* box;  // a single box when elements is 0
    int first;
    int elements;
    Kind kind;
    int at;
    int stride = 0;
    int count = 0;
    int at2 = 0;  // split over the blocks (single boxes only)
    int count2 = 0;
    bool read = true;
};
std::vector<Field> Expand(std::span<const Run> runs);

struct Layout {
    std::vector<Field> fields;
    int keyAt;               // key 1 as the device keeps it (also written at map 11)
    int localDigitsAt = 0;   // a one-character list value, 0 for none
    int dataLength;          // SendData characters that mirror the map
    bool closingF = false;   // SendData ends in a lower-case "f"
    QChar block2Fill = 'F';  // the frame's second block after "6E": 24 "F" or 84 "0"
};

// What the panel shows: key 1, the six restriction flags, the trunk, the list value and
// every box by name.
struct Values {
    QString key;
    QString flags;  // six "1"/"0"
    QString trunk;  // "1"/"0"
    QString localDigits;
    QMap<QString, QString> boxes;
};

// Values of a reply map. Dial digits: "A" 0, "B" "*", "C" "#", "F" dropped; number digits: "A"
// 0, "B".."F" 11..15.
Values Decode(const Layout& layout, const QString& map);

// The map a whole write leaves in the device, positions 1-266 (firmware, class and checksums
// aside). Numbers are filled out with "0" in front to three digits, keys and memory numbers
// with "F" behind, so SendData always has its written length.
QString WrittenMap(const Layout& layout, const QString& installationCode, const Values& v);

struct Frame {
    QString SendFrame, SendData;
};
// `firmware` is the frame's two firmware digits, `classCode` "" or the class code.
Frame BuildFrame(const Layout& layout, const QString& kindByte, const QString& firmware,
                 const QString& classCode, const QString& installationCode, const Values& v);

// The last map position a write frame carries: the data up to map 234 (the Dolmeth's up to
// 204); the second block's "6E" and fill follow.
int FrameCarriesTo(const Layout& layout);
// The last map position of a field's digits.
int LastPosition(const Field& field);

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
