#pragma once
// What every model's reply and frame share: the digit map, block checksums, the frame
// envelope, key validation, on/off options packed into digits, single-command strings.
#include <QByteArrayView>
#include <QString>
#include <optional>
#include <span>

namespace morla {

struct ModelInfo;

// The digit map of a complete reply of model m: the low four bits of every character as one
// hex digit, less the first four (the reply start); the Tervolinda keeps the first 132.
QString ReplyMap(const ModelInfo& m, QByteArrayView reply);

// Block 1 checksum (map 129-130 over 1-128) and, for two blocks, block 2 (261-262 over
// 133-260). Returns 0 when good, else the number of the first bad block.
int BadChecksumBlock(const QString& map, int blocks);

// A write frame at the positions of the map: a frame built without an installation class
// code lacks map 5-6 and gets "00" there.
QString MapOfWriteFrame(const QString& frame, bool withClassCode);

// "Activado" / "DesActivado" for a key, from its first `keyLength` characters; nothing for an
// empty key (the status then keeps its value).
std::optional<QString> KeyStatusFor(const QString& keyText, int keyLength);

// Kind byte, firmware (first two characters of the firmware box in hex), installation class
// code and installation code: the start of every write frame once "0245" is dropped.
QString FrameHeader(const QString& kindByte, const QString& firmwareBox, const QString& classCode,
                    const QString& installationCode);
// A one-block frame: body, its checksum, "03", "FE".
QString CloseSingleBlock(const QString& body);

// One on/off option of a model, kept as one bit of a map digit.
struct OptionBit {
    int option;    // position in the flags text, from 1
    int mapPos;    // map position of the digit, from 1
    int bitValue;  // 8, 4, 2 or 1
};
// Flags text ("1"/"0" per option, options 1..count) read from the map digits.
QString DecodeOptions(const QString& map, std::span<const OptionBit> bits, int count);
// The digits at map positions first .. first+count-1 built from the flags text. Options that
// the text lacks, or holds as anything but "1", are written as 0, as the boxes show them.
QString EncodeOptionDigits(const QString& flags, std::span<const OptionBit> bits, int first,
                           int count);

// code & sep & key & sep & v, with v "9" for "1" and "0" for "0" (compared as numbers).
QString OnOffValue(const QString& commandValue);
QString OnOffCommand(const QString& code, const QString& sep, const QString& key,
                     const QString& commandValue);

}  // namespace morla

namespace morla {

// Fixed-width fields of the data text: a short text never moves the fields after it.
// A number of `width` digits, "0" on the left for what is missing.
QString NumberField(const QString& text, int width);
// Dial digits as typed ("0"-"9", "*", "#"), "F" for each missing position (read back as the
// shorter text).
QString DialField(const QString& text, int width);
// Every digit preceded by "0", as the devices keep their three-digit fields.
QString Spaced(const QString& digits);
// The digits at every second map position from `first` (1-based), `count` of them.
QString Unspaced(const QString& map, int first, int count);
// A number's digits as read: "A" is the device's 0, "F" an empty position; any other
// non-decimal digit is shown as it is, for the box to refuse.
QString NumberDigits(const QString& digits);

// A single command: what CompleteSend sets. Unset members leave the globals as they are.
struct SingleCommand {
    std::optional<QString> CommandString, SendData, CommandIndex;
};
struct CommandInput {
    QString CommandNumber, CommandValue, CommandIndex, key, previousKey, keyStatus, sep;
};
// The three characters of a trunk-digit command, "F" for a missing one.
QString TrunkDigits(const QString& typed, const QString& sep);

}  // namespace morla
