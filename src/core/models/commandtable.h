#pragma once
#include "core/models/state.h"

namespace morla {

// Loads the six device commands from the command file; each becomes its code and "f".
// A missing file leaves them as they were; so does one that cannot be read, and the return
// names it and says why ("" otherwise).
QString LoadCommandTable(MorlaState& s);

}  // namespace morla
