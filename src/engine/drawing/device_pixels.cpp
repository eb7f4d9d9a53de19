#include "engine/drawing/device_pixels.h"

#include <cmath>

namespace kelpo::ui {

std::optional<PixelSize> pixelSizeOf(Size size, double scale) {
  if (!std::isfinite(scale) || scale <= 0) return std::nullopt;
  // A size that is a whole number of pixels up to rounding error stays that
  // number instead of gaining a pixel.
  const double width = std::ceil(size.width * scale - 1e-9);
  const double height = std::ceil(size.height * scale - 1e-9);
  if (!(width >= 1 && height >= 1 && width <= largestImageSide && height <= largestImageSide)) {
    return std::nullopt;
  }
  return PixelSize{static_cast<int>(width), static_cast<int>(height)};
}

}  // namespace kelpo::ui
