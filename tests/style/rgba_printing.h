#pragma once

#include <ostream>

#include "platform/ui/color.h"

namespace kelpo::ui {

// Readable failure messages for colour comparisons.
inline void PrintTo(const Rgba& c, std::ostream* out) {
  *out << "rgba(" << c.red * 255 << ", " << c.green * 255 << ", " << c.blue * 255 << ", " << c.alpha
       << ")";
}

// The components written as 0...255 channels and an alpha, as literals are.
inline Rgba channels(double red, double green, double blue, double alpha = 1) {
  return Rgba{red / 255, green / 255, blue / 255, alpha};
}

}  // namespace kelpo::ui
