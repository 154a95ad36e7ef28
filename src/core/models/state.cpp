#include "core/models/state.h"

namespace morla {

QString MorlaState::joinedRestrictorFlags() const {
    QString out;
    for (const QString& f : RestrictorFlags) out += f;
    return out;
}

}  // namespace morla
