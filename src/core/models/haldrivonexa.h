#pragma once
// Haldrivonexa: key, six option flags, trunk digits, two durations, nine number-prefix boxes
// and six long-distance boxes, in one checksummed block.
#include <QString>

#include "core/models/layout.h"
#include "core/models/modelcore.h"

namespace morla::haldrivonexa {

inline constexpr int kKeyLength = 4;
inline constexpr int kPrefixBoxes = 9;
inline constexpr int kLongDistanceBoxes = 6;

const layout::Layout& Layout();

// The code of long-distance box k (51, 55, 58, 61, 62, 63); k itself for another index.
QString LongDistanceCode(const QString& index);
SingleCommand CompleteSend(const CommandInput& in);

}  // namespace morla::haldrivonexa
