#pragma once
#include <QString>

namespace morla {

// The panels are drawn in "Comic Sans MS", which Linux systems lack (fontconfig would pick a
// calligraphic face). Substitutes the look-alike "Comic Neue" when it is installed, the
// system's sans-serif otherwise. Returns the family that stands in ("" where nothing is needed).
QString SubstitutePanelFont();

}  // namespace morla
