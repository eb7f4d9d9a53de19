#include "command/font_report.h"

#include "engine/text/fonts.h"

namespace kelpo::app {

void reportMissingFonts(std::ostream& out) {
  for (const std::string& family : ui::missingFonts()) {
    out << "kelpo-widget: font \"" << family
        << "\" is missing; its texts are drawn in a heavy sans-serif (run scripts/setup.sh)\n";
  }
}

}  // namespace kelpo::app
