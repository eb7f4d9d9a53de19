#pragma once

// What assistive technologies read of a laid-out widget, in reading order.

#include <optional>
#include <string>
#include <vector>

#include "platform/ui/layout/layout_tree.h"

namespace kelpo::ui {

struct AccessibilityElement {
  std::string label;
  std::optional<std::string> value;
  Rect frame;  // widget points, offsets applied
  friend bool operator==(const AccessibilityElement&, const AccessibilityElement&) = default;
};

// A view that is one element with its children ignored speaks once, with
// its label (or its texts joined by ", ") and value; hidden views and
// everything in them are left out; a text speaks its label or its words;
// symbols and pictures speak only when given a label.
[[nodiscard]] std::vector<AccessibilityElement> accessibilityElements(const LaidOutWidget& widget);

}  // namespace kelpo::ui
