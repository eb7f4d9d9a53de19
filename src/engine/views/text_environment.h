#pragma once

// The text style a view inherits from the modifiers around it; texts and
// symbols read it when they are resolved.

#include <optional>

#include "engine/views/font.h"
#include "engine/views/paint.h"
#include "engine/views/view.h"

namespace kelpo::ui {

// The colour text is drawn in when no foreground style is given: black in
// the light appearance, white in the dark one, both at 85 % opacity.
[[nodiscard]] inline Color primaryLabelColor() {
  return Color(Rgba{0, 0, 0, 0.85}, Rgba{1, 1, 1, 0.85});
}

// A text with no font modifier around it is set in the system font at 13
// points, the desktop's body size.
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
};

}  // namespace kelpo::ui
