#pragma once

#include <ostream>

namespace kelpo::app {

// Tells the user, once, which of the widget's fonts were missing and drawn
// in a fallback. The widget itself never says so; a command may.
void reportMissingFonts(std::ostream& out);

}  // namespace kelpo::app
