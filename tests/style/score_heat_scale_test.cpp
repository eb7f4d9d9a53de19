#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "style/score_heat.h"
#include "support/colors.h"

namespace kelpo {
namespace {

using ui::ColorScheme;
using ui::Rgba;

// The colours a badge is drawn in, in one appearance.
struct BadgeLook {
  Rgba base;
  Rgba foreground;
  Rgba background;
  bool solid = false;
  bool gold = false;
  friend bool operator==(const BadgeLook&, const BadgeLook&) = default;
};

BadgeLook lookOf(const ScoreHeat& heat, ColorScheme scheme) {
  return {heat.base.resolve(scheme), heat.foreground.resolve(scheme),
          heat.background.resolve(scheme), heat.solid, heat.gold};
}

void expectLooksLike(const ScoreHeat& shown, std::int64_t score, const char* why) {
  for (const ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
    EXPECT_TRUE(lookOf(shown, scheme) == lookOf(ScoreHeat::forScore(score), scheme))
        << why << " (score " << score << ")";
  }
}

// Relative luminance of an opaque sRGB colour, as contrast ratios use it.
double luminance(const Rgba& c) {
  const auto linear = [](double v) {
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(c.red) + 0.7152 * linear(c.green) + 0.0722 * linear(c.blue);
}

double contrast(const Rgba& a, const Rgba& b) {
  const double la = luminance(a);
  const double lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(ScoreHeat, ScoresOutsideTheScaleLookLikeItsEnds) {
  for (const std::int64_t low : {INT64_MIN, std::int64_t{-5}, std::int64_t{0}, std::int64_t{1}}) {
    expectLooksLike(heatForBadge(low, false), 1, "a score of 1 or less");
  }
  for (const std::int64_t high : {std::int64_t{10}, std::int64_t{14}, INT64_MAX}) {
    expectLooksLike(heatForBadge(high, false), 10, "a score of 10 or more");
  }
  for (std::int64_t score = 1; score <= 10; ++score) {
    expectLooksLike(heatForBadge(score, false), score, "a score on the scale");
  }
}

TEST(ScoreHeat, AnUnreadItemShowsTheQuietMiddleWhateverItsScore) {
  for (const std::int64_t score :
       {std::int64_t{0}, std::int64_t{9}, std::int64_t{10}, std::int64_t{14}}) {
    const ScoreHeat& heat = heatForBadge(score, true);
    expectLooksLike(heat, 5, "unread");
    EXPECT_FALSE(heat.solid || heat.gold) << score;
  }
}

// The scale runs from cold to warm: a low score reads blue, 9 a solid
// red-orange with white digits, 10 and above gold.
TEST(ScoreHeat, RunsFromBlueToRedOrangeToGold) {
  for (const ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
    const Rgba coldest = heatForBadge(1, false).base.resolve(scheme);
    EXPECT_GT(coldest.blue, coldest.red);
    EXPECT_GT(coldest.blue, coldest.green);
    const ScoreHeat& nine = heatForBadge(9, false);
    const Rgba warm = nine.base.resolve(scheme);
    EXPECT_GT(warm.red, warm.green);
    EXPECT_GT(warm.green, warm.blue);
    EXPECT_TRUE(nine.solid && !nine.gold);
    EXPECT_TRUE(heatForBadge(10, false).gold);
  }
  EXPECT_NE(heatForBadge(1, false).background.resolve(ColorScheme::light),
            heatForBadge(1, false).background.resolve(ColorScheme::dark))
      << "a badge that is not solid adapts to the appearance";
}

// On the light appearance a badge's digits stay readable on its fill: at
// least 3:1, the least contrast for bold figures of the badge's size. A
// solid badge has white digits, a gold one goldInk digits on the gradient.
TEST(ScoreHeat, DigitsStandOutFromTheirFillInTheLightAppearance) {
  constexpr double leastContrast = 3;
  const auto light = [](const ui::Color& color) { return color.resolve(ColorScheme::light); };
  for (std::int64_t score = 1; score <= 10; ++score) {
    const ScoreHeat& heat = heatForBadge(score, false);
    if (heat.gold) {
      for (const ui::Color& stop : goldGradient().colors) {
        EXPECT_GE(contrast(light(goldInk()), light(stop)), leastContrast) << "score " << score;
      }
    } else if (heat.solid) {
      EXPECT_GE(contrast(Rgba{1, 1, 1, 1}, light(heat.base)), leastContrast) << "score " << score;
    } else {
      EXPECT_GE(contrast(light(heat.foreground), light(heat.background)), leastContrast)
          << "score " << score;
    }
  }
}

}  // namespace
}  // namespace kelpo
