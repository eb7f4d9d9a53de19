#pragma once

// The text style a view inherits from the modifiers around it; texts and
// symbols read it when they are resolved.

#include <optional>

#include "platform/ui/text/font.h"
#include "platform/ui/views/paint.h"
#include "platform/ui/views/view.h"

namespace kelpo::ui {

// The label colour of the platform's light and dark appearances: black or
// white at 85 % opacity, which is what primary text is drawn in when no
// foreground style is given.
[[nodiscard]] inline Color primaryLabelColor() {
  return Color(Rgba{0, 0, 0, 0.85}, Rgba{1, 1, 1, 0.85});
}

// The platform's body text is the system font at 13 points on the desktop;
// a text with no font modifier around it uses that.
inline constexpr double defaultFontSize = 13;

struct TextEnvironment {
  Font font = Font::system(defaultFontSize);
  Paint foreground = primaryLabelColor();
  std::optional<int> lineLimit;
  double minimumScaleFactor = 1;
  TextAlignment alignment = TextAlignment::leading;
  std::optional<TextCase> textCase;
  double tracking = 0;
  double lineSpacing = 0;
  bool monospacedDigit = false;
};

}  // namespace kelpo::ui
