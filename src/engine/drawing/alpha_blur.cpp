#include "engine/drawing/alpha_blur.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace kelpo::ui {

namespace {

constexpr int boxPasses = 3;

// Box widths (odd) whose three passes give a Gaussian of `sigma`.
[[nodiscard]] std::array<int, boxPasses> boxWidths(double sigma) {
  const double n = boxPasses;
  const double ideal = std::sqrt(12 * sigma * sigma / n + 1);
  int lower = static_cast<int>(std::floor(ideal));
  if (lower % 2 == 0) --lower;
  const int upper = lower + 2;
  const double lowerCount =
      (12 * sigma * sigma - n * lower * lower - 4 * n * lower - 3 * n) / (-4.0 * lower - 4);
  const auto m = static_cast<int>(std::lround(lowerCount));
  std::array<int, boxPasses> widths{};
  for (int i = 0; i < boxPasses; ++i) widths[i] = i < m ? lower : upper;
  return widths;
}

// One box pass over `count` samples spaced `step` apart: each sample becomes
// the mean of the `2 * reach + 1` samples around it, zero outside.
void boxPass(const float* in, float* out, int count, std::ptrdiff_t step, int reach) {
  const float scale = 1.0F / static_cast<float>(2 * reach + 1);
  float sum = 0;
  for (int i = 0; i < std::min(reach, count); ++i) sum += in[i * step];
  for (int i = 0; i < count; ++i) {
    if (i + reach < count) sum += in[(i + reach) * step];
    out[i * step] = sum * scale;
    if (i - reach >= 0) sum -= in[(i - reach) * step];
  }
}

}  // namespace

void blurAlpha(std::uint8_t* pixels, int width, int height, std::ptrdiff_t stride, double sigma) {
  if (!(sigma >= 0.5) || width <= 0 || height <= 0) return;
  const auto area = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  std::vector<float> image(area);
  std::vector<float> scratch(area);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image[y * width + x] = pixels[y * stride + x];
  }
  for (const int boxWidth : boxWidths(sigma)) {
    const int reach = (boxWidth - 1) / 2;
    if (reach <= 0) continue;
    for (int y = 0; y < height; ++y) {
      const auto row = static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
      boxPass(&image[row], &scratch[row], width, 1, reach);
    }
    for (int x = 0; x < width; ++x) boxPass(&scratch[x], &image[x], height, width, reach);
  }
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      pixels[y * stride + x] =
          static_cast<std::uint8_t>(std::clamp(std::lround(image[y * width + x]), 0L, 255L));
    }
  }
}

}  // namespace kelpo::ui
