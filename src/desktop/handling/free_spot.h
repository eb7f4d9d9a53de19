#pragma once

// Where "Ajouter un widget" puts the new widget: on a free spot of the
// monitor, never over a widget already there, or nowhere when the monitor
// is full; and where a widget given another size from its menu goes, so
// that growing does not put it over its neighbours. Everything in points,
// in the desktop's coordinates.

#include <cstddef>
#include <optional>
#include <span>

#include "engine/views/geometry.h"

namespace kelpo::desktop {

struct FreeSpotQuery {
  ui::Rect workArea;                // of the monitor the asking widget is on
  std::span<const ui::Rect> shown;  // every widget shown on that monitor
  ui::Size size;                    // the new widget's
  double margin = 24;               // kept free between widgets and from the edges
  ui::Rect asking;                  // the widget whose menu was used
};

// The new widget's frame: next to the asking widget when there is room
// (below, above, left, right of it, aligned with it on the screen's side
// it sits on), else the first free spot of a scan of the work area, in
// columns from the asking widget's side of the screen, each from its side
// of the screen's height, in steps of the margin and flush against the
// widgets already there. Always wholly inside the work area and at least
// `margin` from every shown widget; nothing when no spot is left.
[[nodiscard]] std::optional<ui::Rect> freeSpot(const FreeSpotQuery& query);

struct ResizeQuery {
  ui::Rect workArea;                 // of the monitor the widget is on
  std::span<const ui::Rect> others;  // every other widget shown on that monitor
  ui::Rect current;                  // the widget's frame at its old size
  ui::Rect inPlace;                  // at its new size, where its kept place puts it
  double margin = 24;
};

// The widget's frame at its new size (that of `inPlace`): where its kept
// place puts it, unless it would land there on a widget it did not already
// cover; then the new size on another corner of its old frame (it grows
// the other way), clear of the others by the margin; else a free spot next
// to its old frame, as for an addition; else, with no room anywhere, where
// its place puts it all the same (the size was asked for).
[[nodiscard]] ui::Rect resizedFrame(const ResizeQuery& query);

}  // namespace kelpo::desktop
