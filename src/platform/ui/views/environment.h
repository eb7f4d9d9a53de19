#pragma once

#include <memory>
#include <string>

#include "platform/time/instant.h"
#include "platform/ui/views/color.h"
#include "platform/widget/widget_family.h"

namespace kelpo {
class PhraseBook;
}

namespace kelpo::ui {

using kelpo::WidgetFamily;

// What the host tells the views about the instance being drawn. Views read it
// through EnvironmentReader; the layout engine reads the rest.
struct Environment {
  WidgetFamily widgetFamily = WidgetFamily::systemSmall;
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
