#pragma once

// How many device pixels a widget takes at a scale, and the largest image
// the engine draws into: every image surface made for a whole widget (a
// render, a contact sheet, a live frame's background) is sized here.

#include <optional>

#include "platform/ui/views/geometry.h"

namespace kelpo::ui {

// Scales must be finite, positive and keep each side of an image within
// this many pixels (or points for vector files): far above any screen, and
// small enough that a mistaken scale cannot ask for gigabytes.
inline constexpr int largestImageSide = 16384;

struct PixelSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

// `size` points at `scale` pixels per point, each side rounded up; nothing
// for an unusable scale, or a side under one pixel or over largestImageSide.
[[nodiscard]] std::optional<PixelSize> pixelSizeOf(Size size, double scale);

}  // namespace kelpo::ui
