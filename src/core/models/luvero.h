#pragma once
// Lúvero: a four-digit key and six on/off options in map digits 17 to 20.
#include <QString>

#include "core/models/layout.h"

namespace morla::luvero {

inline constexpr int kKeyLength = 4;

const layout::Layout& Layout();

// Command code of a single option, "" for a number that is not one of the six options.
QString OptionCommandCode(const QString& commandNumber);

}  // namespace morla::luvero
