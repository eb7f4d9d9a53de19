// The geometry of rounded outlines and of the shadow blur.

#include <gtest/gtest.h>

#include <numeric>
#include <variant>
#include <vector>

#include "engine/drawing/alpha_blur.h"
#include "engine/drawing/continuous_corners.h"

namespace kelpo::ui {
namespace {

Point startOf(const std::vector<PathElement>& path) {
  return std::get<MoveTo>(path.front()).to;
}

std::vector<Point> pointsOf(const std::vector<PathElement>& path) {
  std::vector<Point> points;
  for (const PathElement& element : path) {
    if (const auto* move = std::get_if<MoveTo>(&element)) points.push_back(move->to);
    if (const auto* line = std::get_if<LineTo>(&element)) points.push_back(line->to);
    if (const auto* curve = std::get_if<CurveTo>(&element)) {
      points.insert(points.end(), {curve->control1, curve->control2, curve->to});
    }
  }
  return points;
}

struct CornerCase {
  Rect rect;
  double radius;
  CornerStyle style;
  double expectedReach;  // where the top edge's straight part starts, from minX
};

void PrintTo(const CornerCase& c, std::ostream* out) {
  *out << c.rect.size.width << " x " << c.rect.size.height << " radius " << c.radius
       << (c.style == CornerStyle::continuous ? " continuous" : " circular");
}

class RoundedOutline : public ::testing::TestWithParam<CornerCase> {};

TEST_P(RoundedOutline, StartsWhereTheCornerCurveMeetsTheTopEdgeAndStaysInside) {
  const CornerCase& c = GetParam();
  const auto path = roundedRectOutline(c.rect, c.radius, c.style);
  EXPECT_NEAR(startOf(path).x - c.rect.minX(), c.expectedReach, 1e-6);
  EXPECT_DOUBLE_EQ(startOf(path).y, c.rect.minY());
  for (const Point& p : pointsOf(path)) {
    EXPECT_GE(p.x, c.rect.minX() - 1e-9);
    EXPECT_LE(p.x, c.rect.maxX() + 1e-9);
    EXPECT_GE(p.y, c.rect.minY() - 1e-9);
    EXPECT_LE(p.y, c.rect.maxY() + 1e-9);
  }
  EXPECT_TRUE(std::holds_alternative<ClosePath>(path.back()));
}

INSTANTIATE_TEST_SUITE_P(
    Corners, RoundedOutline,
    ::testing::Values(
        // A badge of side 22 with radius 7.04 has room for the full reach.
        CornerCase{{{0, 0}, {22, 22}}, 7.04, CornerStyle::continuous, 7.04 * 1.52866483},
        CornerCase{{{5, 5}, {22, 22}}, 7.04, CornerStyle::circular, 7.04},
        // A reach past half the side is held at half the side.
        CornerCase{{{0, 0}, {40, 40}}, 15, CornerStyle::continuous, 20},
        // A radius past half the side gives a capsule in both styles.
        CornerCase{{{0, 0}, {60, 20}}, 100, CornerStyle::continuous, 10},
        CornerCase{{{0, 0}, {60, 20}}, 100, CornerStyle::circular, 10},
        // No radius, or a nonsense one, is a plain rectangle.
        CornerCase{{{0, 0}, {10, 10}}, 0, CornerStyle::continuous, 0},
        CornerCase{{{0, 0}, {10, 10}}, -3, CornerStyle::continuous, 0}));

TEST(AlphaBlur, SpreadsInkAndKeepsItsAmount) {
  constexpr int side = 41;
  std::vector<std::uint8_t> pixels(side * side, 0);
  for (int y = 15; y < 26; ++y) {
    for (int x = 15; x < 26; ++x) pixels[y * side + x] = 255;
  }
  const long before = std::accumulate(pixels.begin(), pixels.end(), 0L);
  blurAlpha(pixels.data(), side, side, side, 3);
  const long after = std::accumulate(pixels.begin(), pixels.end(), 0L);
  EXPECT_NEAR(static_cast<double>(after), static_cast<double>(before),
              static_cast<double>(before) * 0.02);
  EXPECT_LT(pixels[20 * side + 15], 255);  // the edge softened
  EXPECT_GT(pixels[20 * side + 11], 0);    // ink spread outwards
  EXPECT_EQ(pixels[0], 0);                 // far corner untouched
  EXPECT_GT(pixels[20 * side + 20], pixels[20 * side + 14]);
}

}  // namespace
}  // namespace kelpo::ui
