#pragma once

// Device pixels: how many a widget takes at a scale, the largest image the
// engine draws into (every image surface made for a whole widget, a render,
// a contact sheet, a live frame's background, is sized here), and
// rectangles of whole pixels.

#include <algorithm>
#include <optional>

#include "engine/views/geometry.h"

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

// A rectangle of device pixels, half-open. Every one with no width or no
// height is empty, wherever it lies.
struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

  // The pixels from (minX, minY) up to, not including, (maxX, maxY).
  [[nodiscard]] static constexpr PixelRect fromEdges(int minX, int minY, int maxX, int maxY) {
    return {minX, minY, maxX - minX, maxY - minY};
  }
  [[nodiscard]] constexpr int maxX() const { return x + width; }
  [[nodiscard]] constexpr int maxY() const { return y + height; }
  [[nodiscard]] constexpr bool empty() const { return width <= 0 || height <= 0; }

  [[nodiscard]] constexpr bool intersects(const PixelRect& o) const {
    return !empty() && !o.empty() && x < o.maxX() && o.x < maxX() && y < o.maxY() && o.y < maxY();
  }
  [[nodiscard]] constexpr bool contains(const PixelRect& o) const {
    return o.empty() || (x <= o.x && y <= o.y && maxX() >= o.maxX() && maxY() >= o.maxY());
  }
  // Empty when they do not overlap.
  [[nodiscard]] constexpr PixelRect intersection(const PixelRect& o) const {
    return fromEdges(std::max(x, o.x), std::max(y, o.y), std::min(maxX(), o.maxX()),
                     std::min(maxY(), o.maxY()));
  }
  // Grows to take in `o`; an empty rectangle adds nothing.
  constexpr void add(const PixelRect& o) {
    if (o.empty()) return;
    if (empty()) {
      *this = o;
      return;
    }
    *this = fromEdges(std::min(x, o.x), std::min(y, o.y), std::max(maxX(), o.maxX()),
                      std::max(maxY(), o.maxY()));
  }

  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

}  // namespace kelpo::ui
