#pragma once

#include <memory>
#include <string>

#include "base/time/instant.h"
#include "engine/views/color.h"
#include "engine/views/geometry.h"

namespace kelpo {
class PhraseBook;
}

namespace kelpo::ui {

// What the host tells the views about the instance being drawn. Views read it
// through EnvironmentReader; the layout engine reads the rest.
struct Environment {
  Size widgetSize{170, 170};  // the instance's outline, in points
  ColorScheme colorScheme = ColorScheme::light;
  bool accessibilityReduceMotion = false;
  std::string locale = "fr_FR";      // ICU locale id, e.g. "fr_FR", "en_US"
  std::string timeZone = "Etc/UTC";  // IANA time-zone id
  Instant now{};                     // the current time of this render
  double displayScale = 1;           // device pixels per point
  // Translations of localisable phrases; null or missing entries show the
  // French key itself.
  std::shared_ptr<const PhraseBook> phrases;
};

}  // namespace kelpo::ui
