#pragma once

#include <string_view>

#include "widget/widget_family.h"

namespace kelpo {

// How the widget presents itself to the desktop: its kind (the host
// application's identifier followed by ".widget"), the names shown in the
// widget gallery, and the sizes it offers, in the order offered.
struct KelpoWidget {
  static constexpr std::string_view kind = "app.kelpo.widget";
  static constexpr std::string_view displayName = "kelpo";
  static constexpr std::string_view description =
      "Ce qui attend d’être trié, ta semaine et la prochaine fouille.";
  static constexpr const auto& supportedSizes = widgetSizes;
};

}  // namespace kelpo
