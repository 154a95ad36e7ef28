#pragma once
// A model's declared layout: every field of its panel with the map positions of its characters
// and the way the device keeps them. The decoder, the whole write's data text and frame, and
// the fields a verification compares all come from it.
#include <QMap>
#include <QString>
#include <vector>

namespace morla::layout {

enum class Encoding {
    KeyDigits,   // digits as typed; a read shows "A" as 0 and "F" (an empty place) as nothing
    DialDigits,  // "0"-"9", "*", "#" as typed; a read shows "A" 0, "B" "*", "C" "#", "F" nothing
    Number,      // decimal digits, "0" in front to the field's width; read as key digits
    HexByte,     // a decimal 0 to 255 as two hex digits
    Bits,        // "1"/"0" characters, each one bit of a map digit
    Fixed,       // digits every write puts there; no read shows them
    Switch,      // "1"/"0" kept as the digits of `on` or `off`; anything else reads "0"
};

// Character `character` (from 1) of a Bits field is the bit of value `value` of the digit at
// map `position`; character 0 is a bit every write sets.
struct Bit {
    int character;
    int position;
    int value;
};

struct Field {
    QString control{};  // objectName of the control that shows it ("" for fixed digits)
    Encoding encoding = Encoding::Fixed;
    std::vector<int> places{};  // map positions of its characters in order; Bits: its digits
    bool spaced = false;        // each character after a "0" that the write puts before it
    // The place (from 1) of a character the read shows as `literal` without looking at the
    // map (the "*" inside a Sorvanell key); the write sends it as typed.
    int literalAt = 0;
    QChar literal{};
    QString fixed{};          // Fixed: the digits
    QString on{}, off{};      // Switch: the digits of each state
    std::vector<Bit> bits{};  // Bits
    int characters = 0;       // Bits: characters of its text
    bool trimmed = false;     // the write takes the text without blanks around it
    QString caption{};        // what a verification calls it when its control shows none
    bool read = true;         // false: a whole write puts it there, no read shows it

    // The map positions a read takes it from.
    std::vector<int> readPlaces() const;
};

// A run of map positions of the data text, or a literal text.
struct Piece {
    int from = 0, to = 0;
    QString text{};
};

struct Layout {
    int mapLength = 0;  // digits of a reply less its first four characters
    std::vector<Field> fields{};
    std::vector<Piece> dataText{};
    int checksummedBlocks = 1;  // blocks whose checksum the write makes: 0, 1 or 2
    // A frame that ends after map `frameEnd` with a fixed tail instead of the map's end.
    int frameEnd = 0;
    QString frameTail{};
    // A frame that carries block 2 only up to map `block2To`, then `block2Tail` and a checksum
    // of its own over what it carries of the block.
    int block2To = 0;
    QString block2Tail{};

    // The last map position the frame carries.
    int carriedTo() const;
};

// Control objectName -> text as the panel shows it ("1"/"0" for a check box).
using Values = QMap<QString, QString>;

// What a read shows of each field of a map (fields no read shows are left out).
Values Decode(const Layout& layout, const QString& map);
QString DecodeField(const Field& field, const QString& map);

// The map a whole write leaves in the device: `header` at map 1-10 (kind byte, firmware
// digits, class code or "00", installation code), the fields from `values`, the fixed digits,
// "F" where nothing goes, and the block checksums.
QString WrittenMap(const Layout& layout, const QString& header, const Values& values);
// The data text of a written map.
QString DataText(const Layout& layout, const QString& map);
// The frame of a written map: map 5-6 left out without a class code.
QString Frame(const Layout& layout, const QString& map, bool withClassCode);

// The header of every write: kind byte, firmware (the first two characters of the firmware
// box in hex), class code ("00" for none), installation code.
QString Header(const QString& kindByte, const QString& firmwareBox, const QString& classCode,
               const QString& installationCode);

// "11-14", "18, 20, 22", "127-128, 133-146": runs of neighbouring positions joined.
QString PositionsText(const std::vector<int>& positions);

// Row helpers for the tables.
std::vector<int> Run(int at, int count);
std::vector<int> EverySecond(int at, int count);
std::vector<int> Join(std::vector<int> a, const std::vector<int>& b);

}  // namespace morla::layout
