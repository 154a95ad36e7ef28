#pragma once
// Zentavira: key, four option flags (the fourth frees the memory table), two durations, the
// trunk digits, fourteen 4-digit and ten 16-digit memories, in two checksummed blocks.
#include <QString>
#include <QStringList>
#include <array>

#include "core/models/modelcore.h"

namespace morla::zentavira {

inline constexpr int kKeyLength = 4;
inline constexpr int kShortMemories = 14;
inline constexpr int kLongMemories = 10;
inline constexpr int kShortWidth = 4;
inline constexpr int kLongWidth = 16;

// Flags text: option 1 in digit 13, options 2 and 3 in digit 14, option 4 (the memory table
// freed) in digit 12.
inline constexpr std::array<OptionBit, 4> kOptionBits{
    {{1, 13, 1}, {2, 14, 2}, {3, 14, 4}, {4, 12, 1}}};

struct Panel {
    QString key, flags;
    QString durationFree, durationProhibited, trunk;
    QStringList shortMemories, longMemories;  // 14 and 10 texts
};

struct Decoded {
    Panel panel;
    int memoryTableFreed;  // digit 12: 1 ticks, 0 clears, anything else leaves the box
};
Decoded Decode(const QString& map);

struct FrameInput {
    QString firmwareBox, classCode, installationCode;
    Panel panel;
};
struct Frame {
    QString SendFrame, SendData;
};
Frame BuildFrame(const FrameInput& in);

SingleCommand CompleteSend(const CommandInput& in);

}  // namespace morla::zentavira
