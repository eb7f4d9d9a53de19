#pragma once

#include <ostream>
#include <variant>

#include "engine/views/color.h"
#include "engine/views/paint.h"

namespace kelpo::ui {

// Readable failure messages for colour comparisons.
inline void PrintTo(const Rgba& c, std::ostream* out) {
  *out << "rgba(" << c.red * 255 << ", " << c.green * 255 << ", " << c.blue * 255 << ", " << c.alpha
       << ")";
}

}  // namespace kelpo::ui

namespace kelpo::testing_support {

// The components written as 0...255 channels and an alpha, as literals are.
inline ui::Rgba channels(double red, double green, double blue, double alpha = 1) {
  return ui::Rgba{red / 255, green / 255, blue / 255, alpha};
}

// The colour a plain-colour paint draws in `scheme`; transparent black for a
// gradient, which these tests never expect.
inline ui::Rgba resolved(const ui::Paint& paint, ui::ColorScheme scheme) {
  if (const auto* color = std::get_if<ui::Color>(&paint)) return color->resolve(scheme);
  return ui::Rgba{0, 0, 0, 0};
}

}  // namespace kelpo::testing_support
