#pragma once

#include <cstddef>
#include <cstdint>

namespace kelpo::ui {

// Blurs an 8-bit alpha image in place with an approximate Gaussian of
// standard deviation `sigma` pixels: three box blurs per axis, whose sizes
// are chosen so that their combined variance matches sigma squared. Pixels
// outside the image count as transparent.
void blurAlpha(std::uint8_t* pixels, int width, int height, std::ptrdiff_t stride, double sigma);

}  // namespace kelpo::ui
