#include "engine/views/animation_curve.h"

#include <algorithm>
#include <cmath>

namespace kelpo::ui {

namespace {

// One coordinate of the curve at parameter t, its end points 0 and 1.
double bezier(double p1, double p2, double t) {
  const double u = 1 - t;
  return 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t;
}

double bezierSlope(double p1, double p2, double t) {
  const double u = 1 - t;
  return 3 * u * u * p1 + 6 * u * t * (p2 - p1) + 3 * t * t * (1 - p2);
}

// The parameter t at which the curve's x is `x`: Newton's method from x
// itself, then bisection when the slope is too flat to trust.
double parameterForX(double x1, double x2, double x) {
  double t = x;
  for (int i = 0; i < 8; ++i) {
    const double error = bezier(x1, x2, t) - x;
    if (std::abs(error) < 1e-9) return t;
    const double slope = bezierSlope(x1, x2, t);
    if (std::abs(slope) < 1e-6) break;
    t -= error / slope;
  }
  double low = 0;
  double high = 1;
  t = x;
  for (int i = 0; i < 60; ++i) {
    const double value = bezier(x1, x2, t);
    if (std::abs(value - x) < 1e-9) break;
    (value < x ? low : high) = t;
    t = (low + high) / 2;
  }
  return t;
}

}  // namespace

double cubicBezierTiming(double x1, double y1, double x2, double y2, double x) {
  if (x <= 0) return 0;
  if (x >= 1) return 1;
  return bezier(y1, y2, parameterForX(x1, x2, x));
}

double animationProgress(const Animation& animation, double elapsed) {
  if (animation.duration <= 0) return 1;
  const double x = std::clamp(elapsed / animation.duration, 0.0, 1.0);
  switch (animation.curve) {
    // The standard ease-in-out timing curve.
    case Animation::Curve::easeInOut:
      return cubicBezierTiming(0.42, 0, 0.58, 1, x);
  }
  return x;
}

}  // namespace kelpo::ui
