#pragma once
// Sorvanell: an alerting unit. Key and programming number of the form two digits, "*", two
// digits; an alert digit, a count of interventions, two options of its own and seven flags.
// Its reply has no checksum, its frame ends in a fixed trailer, and its single commands are
// sent with a "," between every two characters.
#include <QString>
#include <optional>

#include "core/models/layout.h"

namespace morla::sorvanell {

inline constexpr int kKeyLength = 5;

// The trailer that closes every frame: 86 "?" and "040;03<2".
QString Trailer();

const layout::Layout& Layout();

// "Activado" only for a whole key of the form: a digit other than 0, a digit, "*", two digits.
QString KeyStatusFor(const QString& key);

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
