#pragma once
// Zentavira: key, four option flags (the fourth frees the memory table), two durations, the
// trunk digits, fourteen 4-digit and ten 16-digit memories, in two checksummed blocks.
#include <QString>

#include "core/models/layout.h"
#include "core/models/modelcore.h"

namespace morla::zentavira {

inline constexpr int kKeyLength = 4;
inline constexpr int kShortMemories = 14;
inline constexpr int kLongMemories = 10;

const layout::Layout& Layout();
// Map digit 12 ticks the memory table's box for 1 and clears it for 0; anything else leaves
// it (-1).
int MemoryTableFreed(const QString& map);

SingleCommand CompleteSend(const CommandInput& in);

}  // namespace morla::zentavira
