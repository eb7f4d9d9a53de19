#pragma once

// What assistive technologies read of a laid-out widget, in reading order.

#include <optional>
#include <string>
#include <vector>

#include "engine/layout/layout_tree.h"

namespace kelpo::ui {

// What an element is, so that a screen reader can say "image" or read it as
// text.
enum class AccessibilityRole {
  text,   // words: a text, or an element made only of texts
  image,  // a symbol, a picture, or an element that draws shapes or pictures
};

struct AccessibilityElement {
  std::string label;
  std::optional<std::string> value;
  Rect frame;  // widget points, offsets applied
  AccessibilityRole role = AccessibilityRole::text;
  std::optional<std::string> link;  // the URL of the innermost Link around it
  friend bool operator==(const AccessibilityElement&, const AccessibilityElement&) = default;
};

// A view that is one element with its children ignored speaks once, with
// its label (or its texts joined by ", ") and value; hidden views and
// everything in them are left out; a text speaks its label or its words;
// symbols and pictures speak only when given a label. Each element carries
// the link a click on it opens, when it lies inside a Link.
[[nodiscard]] std::vector<AccessibilityElement> accessibilityElements(const LaidOutWidget& widget);

}  // namespace kelpo::ui
