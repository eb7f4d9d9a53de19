#pragma once

#include <cstdint>

#include "engine/views/view.h"

namespace kelpo {

// The rounded square that shows an item's score in the colours of its heat:
// solid red-orange at 9, gold with a sweeping sheen at 10 and above, "?" in
// neutral grey when nothing could be read. Every length is a fraction of
// `size`. Its one piece of state is the sheen position: -1 before a sweep, 1
// after it.
struct ScoreBadge {
  std::int64_t score = 0;
  double size = 22;     // side of the square, in points
  bool unread = false;  // nothing could be read, so there is no score

  [[nodiscard]] ui::View body() const;
};

// Where the sheen band sits along x for a sheen position in -1...1 across a
// badge `width` wide: wholly left of it at -1, centred at 0, wholly right
// of it at 1.
[[nodiscard]] double sheenOffsetX(double sheen, double width);

}  // namespace kelpo
