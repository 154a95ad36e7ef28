#pragma once
// Pieces the simulated devices share: checks of the texts they are given, and the device's
// own forms of keys, dial digits and numbers.
#include <QString>
#include <QStringList>
#include <optional>

#include "devsim/image.h"
#include "devsim/models/behaviour.h"

namespace morla::devsim {

bool AllDecimal(const QString& text);
bool AllHex(const QString& text);
// Dial digits as typed in a single command ("0"-"9", "*", "#"), or "" when another character
// is among them or there are more than `width`.
bool DialText(const QString& typed, int width);
// Typed dial digits in the device's form: "A" for 0, "B" for "*", "C" for "#", "F" for each
// missing position.
QString DialDigits(const QString& typed, int width);
// A data text's dial digits ("0"-"9", "*", "#", "F" for an empty place) in the device's form;
// "" when another character is among them.
QString StoredDial(const QString& sent);
// A typed number of up to three digits as the device keeps it: "0" before each digit of the
// number padded to three.
QString SpacedNumber(const QString& typed);

// Where a restrictor keeps its two call durations and its three trunk digits.
struct TimingPlaces {
    int freeAt, prohibitedAt, trunkAt;
};
// "#21"/"#22" key, duration and "#23" key, three trunk digits, once the key has opened the
// device; nothing for any other code.
std::optional<Result> ApplyTimingCommand(MemoryImage& image, const QString& code,
                                         const QStringList& fields, const TimingPlaces& at);

}  // namespace morla::devsim
