#include "desktop/handling/free_spot.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace kelpo::desktop {
namespace {

// Frames measured from fractional scales meet a hair apart or a hair over.
constexpr double tolerance = 1e-6;
// A scan of a huge (or bogus) work area takes longer steps than the margin
// rather than longer.
constexpr std::size_t maxSteps = 512;

// Where a frame lies along one axis.
struct Extent {
  double min = 0;
  double max = 0;
};

[[nodiscard]] bool finite(const ui::Rect& rect) {
  return std::isfinite(rect.origin.x) && std::isfinite(rect.origin.y) &&
         std::isfinite(rect.size.width) && std::isfinite(rect.size.height);
}

[[nodiscard]] bool inside(const ui::Rect& frame, const ui::Rect& area) {
  return frame.minX() >= area.minX() - tolerance && frame.maxX() <= area.maxX() + tolerance &&
         frame.minY() >= area.minY() - tolerance && frame.maxY() <= area.maxY() + tolerance;
}

// At least `margin` apart along one axis or the other.
[[nodiscard]] bool apart(const ui::Rect& a, const ui::Rect& b, double margin) {
  return a.maxX() + margin <= b.minX() + tolerance || b.maxX() + margin <= a.minX() + tolerance ||
         a.maxY() + margin <= b.minY() + tolerance || b.maxY() + margin <= a.minY() + tolerance;
}

[[nodiscard]] bool fits(const ui::Rect& frame, const FreeSpotQuery& query, double margin) {
  return inside(frame, query.workArea) && apart(frame, query.asking, margin) &&
         std::ranges::all_of(query.shown,
                             [&](const ui::Rect& other) { return apart(frame, other, margin); });
}

// The asking widget's neighbours, nearest first: below and above it lined
// up with its edge on the screen's side it sits on, then left and right of
// it lined up the same way.
[[nodiscard]] std::array<ui::Rect, 4> neighbours(const FreeSpotQuery& query, double margin,
                                                 bool right, bool bottom) {
  const ui::Rect& asking = query.asking;
  const ui::Size size = query.size;
  const double x = right ? asking.maxX() - size.width : asking.minX();
  const double y = bottom ? asking.maxY() - size.height : asking.minY();
  return {{{{x, asking.maxY() + margin}, size},
           {{x, asking.minY() - margin - size.height}, size},
           {{asking.minX() - margin - size.width, y}, size},
           {{asking.maxX() + margin, y}, size}}};
}

// Where a widget of `length` may start along one axis of `range`, nearest
// the high end first when `fromHigh`: the margin from the edges, each step
// of the margin, and flush (with the margin) against each of `taken`. A
// range too short for the margins is tried without them.
[[nodiscard]] std::vector<double> starts(Extent range, double length, double margin, bool fromHigh,
                                         const std::vector<Extent>& taken) {
  double first = range.min + margin;
  double last = range.max - margin - length;
  if (last < first) {
    first = range.min;
    last = range.max - length;
  }
  if (last < first) return {};
  const auto within = [&](double at) { return at >= first - tolerance && at <= last + tolerance; };
  std::vector<double> found;
  const double step = std::max({margin, (last - first) / maxSteps, 1.0});
  for (std::size_t k = 0; k <= maxSteps; ++k) {
    const double at =
        fromHigh ? last - static_cast<double>(k) * step : first + static_cast<double>(k) * step;
    if (!within(at)) break;
    found.push_back(at);
  }
  found.push_back(fromHigh ? first : last);
  for (const Extent& other : taken) {
    for (const double at : {other.min - margin - length, other.max + margin}) {
      if (within(at)) found.push_back(at);
    }
  }
  if (fromHigh) {
    std::ranges::sort(found, std::greater<>());
  } else {
    std::ranges::sort(found);
  }
  const auto same = [](double a, double b) { return std::abs(a - b) <= tolerance; };
  found.erase(std::unique(found.begin(), found.end(), same), found.end());
  return found;
}

[[nodiscard]] bool overlap(const ui::Rect& a, const ui::Rect& b) {
  return !apart(a, b, -2 * tolerance);
}

// The new size on each corner of the old frame.
[[nodiscard]] std::array<ui::Rect, 4> onCorners(const ui::Rect& old, ui::Size size) {
  const double left = old.minX();
  const double top = old.minY();
  const double right = old.maxX() - size.width;
  const double bottom = old.maxY() - size.height;
  return {
      {{{left, top}, size}, {{right, top}, size}, {{left, bottom}, size}, {{right, bottom}, size}}};
}

}  // namespace

ui::Rect resizedFrame(const ResizeQuery& query) {
  const ui::Rect& inPlace = query.inPlace;
  const bool landsOnNoOneNew = std::ranges::all_of(query.others, [&](const ui::Rect& other) {
    return !overlap(inPlace, other) || overlap(query.current, other);
  });
  if (landsOnNoOneNew || !finite(query.current) || !finite(query.workArea) ||
      !std::isfinite(query.margin)) {
    return inPlace;
  }
  const double margin = std::max(0.0, query.margin);
  const auto clear = [&](const ui::Rect& frame) {
    return inside(frame, query.workArea) &&
           std::ranges::all_of(query.others,
                               [&](const ui::Rect& other) { return apart(frame, other, margin); });
  };
  for (const ui::Rect& corner : onCorners(query.current, inPlace.size)) {
    if (clear(corner)) return corner;
  }
  return freeSpot({query.workArea, query.others, inPlace.size, margin, query.current})
      .value_or(inPlace);
}

std::optional<ui::Rect> freeSpot(const FreeSpotQuery& query) {
  const ui::Rect& area = query.workArea;
  if (!finite(area) || !finite(query.asking) || !std::isfinite(query.margin) ||
      !(query.size.width > 0) || !(query.size.height > 0) || !std::isfinite(query.size.width) ||
      !std::isfinite(query.size.height)) {
    return std::nullopt;
  }
  const double margin = std::max(0.0, query.margin);
  const bool right = query.asking.center().x > area.center().x;
  const bool bottom = query.asking.center().y > area.center().y;
  for (const ui::Rect& next : neighbours(query, margin, right, bottom)) {
    if (fits(next, query, margin)) return next;
  }
  std::vector<Extent> takenX{{query.asking.minX(), query.asking.maxX()}};
  std::vector<Extent> takenY{{query.asking.minY(), query.asking.maxY()}};
  for (const ui::Rect& other : query.shown) {
    takenX.push_back({other.minX(), other.maxX()});
    takenY.push_back({other.minY(), other.maxY()});
  }
  const auto columns = starts({area.minX(), area.maxX()}, query.size.width, margin, right, takenX);
  const auto rows = starts({area.minY(), area.maxY()}, query.size.height, margin, bottom, takenY);
  for (const double x : columns) {
    for (const double y : rows) {
      if (const ui::Rect next{{x, y}, query.size}; fits(next, query, margin)) return next;
    }
  }
  return std::nullopt;
}

}  // namespace kelpo::desktop
