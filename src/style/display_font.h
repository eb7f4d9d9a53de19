#pragma once

#include "engine/views/font.h"

namespace kelpo {

// The widget's display face, "Bricolage Grotesque" at weight heavy: counters,
// headings, tile figures and badge digits. Asked for by family name; the
// renderer supplies it from the widget's resources.
[[nodiscard]] inline ui::Font displayFont(double size) {
  return ui::Font::custom("Bricolage Grotesque", size, ui::FontWeight::heavy);
}

}  // namespace kelpo
