#pragma once

#include "engine/views/view.h"
#include "snapshot/widget_snapshot.h"
#include "style/accent_theme.h"

namespace kelpo {

// The week's progress as a ring: a faint track, a translucent arc for what is
// done plus planned, an opaque arc for what is done, the mascot inside.
struct WeekRing {
  WidgetSnapshot snapshot;
  bool sleeping = false;  // the resting mascot instead of the found one
  double size = 62;       // side of the square the ring occupies, in points
  AccentTheme accent = AccentTheme::braise;

  [[nodiscard]] ui::View body() const;
};

// Share of the week's budget covered by done plus planned minutes, at most 1
// and unbounded below (a fraction at or below zero draws no arc). A budget
// below 1 counts as 1; the sum saturates instead of overflowing.
[[nodiscard]] double plannedFraction(const WidgetSnapshot& snapshot);
// Share of the week's budget covered by done minutes, same rules.
[[nodiscard]] double doneFraction(const WidgetSnapshot& snapshot);

}  // namespace kelpo
