#pragma once
// Haldrivonexa: key, six option flags, trunk digits, two durations, nine number-prefix boxes
// and six long-distance boxes, in one checksummed block.
#include <QString>
#include <array>

#include "core/models/modelcore.h"

namespace morla::haldrivonexa {

inline constexpr int kKeyLength = 4;
inline constexpr int kPrefixBoxes = 9;
inline constexpr int kLongDistanceBoxes = 6;

// Options 2 and 6 share digit 26: option 2 is its bit of value 2, option 6 its bit of value 4,
// in both directions.
inline constexpr std::array<OptionBit, 6> kOptionBits{
    {{1, 25, 1}, {2, 26, 2}, {3, 23, 1}, {4, 23, 2}, {5, 24, 4}, {6, 26, 4}}};

// The fifteen boxes, three to a digit: prefixes 0-8 in digits 27-29, long distance 0-5 in
// digits 30 and 32.
inline constexpr std::array<int, 5> kBoxDigits{27, 28, 29, 30, 32};

struct Panel {
    QString key, flags;
    QString durationFree, durationProhibited, trunk;
    QString prefixes, longDistance;  // "1"/"0" per box, 9 and 6 of them
};
Panel Decode(const QString& map);

struct FrameInput {
    QString firmwareBox, classCode, installationCode;
    Panel panel;
};
struct Frame {
    QString SendFrame, SendData;
};
Frame BuildFrame(const FrameInput& in);

// The code of long-distance box k (51, 55, 58, 61, 62, 63); k itself for another index.
QString LongDistanceCode(const QString& index);
SingleCommand CompleteSend(const CommandInput& in);

}  // namespace morla::haldrivonexa
