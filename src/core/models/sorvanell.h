#pragma once
// Sorvanell: an alerting unit. Key and programming number of the form two digits, "*", two
// digits; an alert digit, a count of interventions, two options of its own and seven flags.
// Its reply has no checksum, its frame ends in a fixed trailer, and its single commands are
// sent with a "," between every two characters.
#include <QString>
#include <optional>

namespace morla::sorvanell {

inline constexpr int kKeyLength = 5;
inline constexpr int kSendDataLength = 31;
inline constexpr int kCountMax = 255;

// The trailer that closes every frame: 86 "?" and "040;03<2".
QString Trailer();

// Map positions 22, 24, "*", 28, 30 (the key) and 12, 14, "*", 18, 20 (programming number).
QString DecodeKey(const QString& map);
QString DecodeProgramming(const QString& map);
// The seven flags: bit 1 of 34, "00", bit 1 of 33, "00", bit 8 of 34.
QString DecodeFlags(const QString& map);
bool DecodeTone(const QString& map);    // bit 2 of 33, set for a ticked box
bool DecodeBlqGrb(const QString& map);  // bit 4 of 33
// The hex byte at 36 and 38, in decimal.
QString DecodeCount(const QString& map);
QString DecodeAlertDigit(const QString& map);

// "Activado" only for a whole key of the form: a digit other than 0, a digit, "*", two digits.
QString KeyStatusFor(const QString& key);

struct FrameInput {
    QString firmwareBox, classCode, installationCode;
    QString programming, key, alertDigit;
    bool blqGrb = false, tone = false;
    QString flags;  // the flags box; characters 1, 4 and 7 are the device's
    QString count;  // decimal 0..255
};
struct Frame {
    QString SendFrame, SendData;
};
Frame BuildFrame(const FrameInput& in);

// Every character followed by ",", the last "," dropped: n characters become 2n - 1.
QString Separate(const QString& command);

struct CommandInput {
    QString number;       // CommandNumber
    QString keyStatus;    // KeyStatus
    QString key;          // the key box
    QString previousKey;  // PreviousKey (key change)
    QString programming;  // the programming number box
    QString alertDigit;   // the alert digit box
};
// The separated command, or nothing for another number or a command that needs an active key
// while the key is not.
std::optional<QString> Command(const CommandInput& in);

}  // namespace morla::sorvanell
