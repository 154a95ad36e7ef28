#pragma once
// Lúvero: a four-digit key and six on/off options in map digits 17 to 20.
#include <QString>
#include <array>

#include "core/models/modelcore.h"

namespace morla::luvero {

inline constexpr int kKeyLength = 4;
// Options 2 and 6 share digit 20: option 2 is its bit of value 2, option 6 its bit of value 4,
// in both directions.
inline constexpr std::array<OptionBit, 6> kOptionBits{
    {{1, 19, 1}, {2, 20, 2}, {3, 17, 1}, {4, 17, 2}, {5, 18, 4}, {6, 20, 4}}};

QString DecodeKey(const QString& map);
QString DecodeFlags(const QString& map);

struct FrameInput {
    QString firmwareBox, classCode, installationCode, key, flags;
};
struct Frame {
    QString SendFrame, SendData;
};
Frame BuildFrame(const FrameInput& in);

// Command code of a single option, "" for a number that is not one of the six options.
QString OptionCommandCode(const QString& commandNumber);

}  // namespace morla::luvero
