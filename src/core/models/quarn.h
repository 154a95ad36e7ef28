#pragma once
// Quarn: key 1, counter, two durations, ten memory numbers, keys 2 to 5 and the trunk option.
// Firmware 23 or less is the Dolmeth: key 1 at map 11, no keys 2 to 5 and no trunk on its
// panel, and a write that stops after memory 9.
#include "core/models/longreply.h"

namespace morla::quarn {

inline constexpr int kLastDolmethFirmware = 23;

bool IsDolmeth(const QString& firmwareCode);
QString Title(const QString& firmwareCode);
const layout::Layout& Layout(const QString& firmwareCode);

std::span<const longreply::Command> Commands();
std::span<const longreply::RecordFill> RecordFills();

// Key 1 change: the firmware "8" device takes no "1" between the keys.
QString KeyChange(const QString& separator, const QString& previousKey, const QString& newKey,
                  const QString& firmwareCode);

}  // namespace morla::quarn
