#pragma once

#include "engine/views/view.h"

namespace kelpo::ui {

// The y of the cubic Bézier timing curve from (0, 0) to (1, 1) with control
// points (x1, y1) and (x2, y2) at the x given (0 ... 1), as CSS timing
// functions define it.
[[nodiscard]] double cubicBezierTiming(double x1, double y1, double x2, double y2, double x);

// How far along (0 ... 1) an animation is `elapsed` seconds after it began.
[[nodiscard]] double animationProgress(const Animation& animation, double elapsed);

}  // namespace kelpo::ui
