#pragma once
// What every model's reply and frame share: the digit map, block checksums, the frame
// envelope, key validation, single-command strings.
#include <QByteArrayView>
#include <QString>
#include <optional>

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

// code & sep & key & sep & v, with v "9" for "1" and "0" for "0" (compared as numbers).
QString OnOffValue(const QString& commandValue);
QString OnOffCommand(const QString& code, const QString& sep, const QString& key,
                     const QString& commandValue);

}  // namespace morla

namespace morla {

// Fixed-width fields of the data text: a short text never moves the fields after it.
// A number of `width` digits, "0" on the left for what is missing.
QString NumberField(const QString& text, int width);
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
