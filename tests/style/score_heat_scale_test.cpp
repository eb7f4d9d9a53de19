#include <gtest/gtest.h>

#include <cstdint>

#include "style/score_heat.h"
#include "support/colors.h"

namespace kelpo {
namespace {

using testing_support::channels;
using ui::ColorScheme;
using ui::Rgba;

// The heat of a score as drawn in one scheme.
struct ResolvedHeat {
  Rgba base, foreground, background;
  bool solid, gold;
  friend bool operator==(const ResolvedHeat&, const ResolvedHeat&) = default;
};

ResolvedHeat resolved(const ScoreHeat& heat, ColorScheme scheme) {
  return {heat.base.resolve(scheme), heat.foreground.resolve(scheme),
          heat.background.resolve(scheme), heat.solid, heat.gold};
}

const Rgba kGoldBase = channels(0xE0, 0xA5, 0x26);
const Rgba kGoldInk = channels(0x5A, 0x39, 0x00);
const Rgba kNineBase = channels(0xD9, 0x54, 0x2F);
const Rgba kWhite = channels(255, 255, 255);

// 10 and above are gold, 9 solid with white digits, in both schemes.
TEST(ScoreHeat, TenAndAboveAreGoldAndNineIsSolid) {
  const ResolvedHeat gold{kGoldBase, kGoldInk, kGoldBase, true, true};
  const ResolvedHeat nine{kNineBase, kWhite, kNineBase, true, false};
  for (const ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
    for (const std::int64_t score : {10, 11, 1000}) {
      EXPECT_EQ(resolved(ScoreHeat::forScore(score), scheme), gold) << score;
    }
    EXPECT_EQ(resolved(ScoreHeat::forScore(9), scheme), nine);
  }
}

// Below 9 the heat adapts to the scheme: the row just under the solid ones,
// the neutral middle, and the strong blue that 1 and everything below share.
struct AdaptiveRow {
  std::int64_t score;
  ResolvedHeat light;
  ResolvedHeat dark;
};

AdaptiveRow row(std::int64_t score, Rgba baseLight, Rgba baseDark, Rgba fgLight, Rgba fgDark,
                Rgba bgLight, Rgba bgDark) {
  return {
      score, {baseLight, fgLight, bgLight, false, false}, {baseDark, fgDark, bgDark, false, false}};
}

AdaptiveRow strongBlue(std::int64_t score) {
  return row(score, channels(0x3F, 0x7F, 0xD6), channels(0x5C, 0x9C, 0xF0),
             channels(0x1F, 0x4F, 0x96), channels(0xBF, 0xDA, 0xFF), channels(0xCF, 0xE2, 0xFB),
             channels(92, 156, 240, 0.30));
}

TEST(ScoreHeat, BelowNineResolvesByScheme) {
  for (const AdaptiveRow& expected :
       {row(8, channels(0xEF, 0x7A, 0x2E), channels(0xFF, 0x9A, 0x57), channels(0xB0, 0x4E, 0x10),
            channels(0xFF, 0xB2, 0x7E), channels(0xFF, 0xE2, 0xCF), channels(255, 140, 80, 0.22)),
        row(5, channels(0x8A, 0x93, 0x9F), channels(0xA9, 0xB8, 0xCC), channels(0x55, 0x5F, 0x6E),
            channels(0xC2, 0xCE, 0xDD), channels(0xED, 0xEF, 0xF3), channels(169, 184, 204, 0.12)),
        strongBlue(1), strongBlue(0), strongBlue(-5), strongBlue(INT64_MIN)}) {
    SCOPED_TRACE(expected.score);
    const ScoreHeat heat = ScoreHeat::forScore(expected.score);
    EXPECT_EQ(resolved(heat, ColorScheme::light), expected.light);
    EXPECT_EQ(resolved(heat, ColorScheme::dark), expected.dark);
  }
}

TEST(ScoreHeat, BadgePicksTheClampedScoreOrFiveWhenUnread) {
  const auto& table = heatTable();
  EXPECT_EQ(&heatForBadge(0, false), &table[0]);
  EXPECT_EQ(&heatForBadge(-5, false), &table[0]);
  EXPECT_EQ(&heatForBadge(7, false), &table[6]);
  EXPECT_EQ(&heatForBadge(14, false), &table[9]);
  EXPECT_EQ(&heatForBadge(INT64_MAX, false), &table[9]);
  for (const std::int64_t score : {0, 9, 10, 14}) {
    const ScoreHeat& unread = heatForBadge(score, true);
    EXPECT_EQ(&unread, &table[4]) << score;
    EXPECT_FALSE(unread.solid);
    EXPECT_FALSE(unread.gold);
  }
}

TEST(ScoreHeat, GoldGradientRunsCornerToCornerThroughFourStops) {
  const ui::LinearGradient& gradient = goldGradient();
  ASSERT_EQ(gradient.colors.size(), 4u);
  EXPECT_EQ(gradient.colors[0].resolve(ColorScheme::dark), channels(0xFF, 0xE7, 0xA1));
  EXPECT_EQ(gradient.colors[3].resolve(ColorScheme::light), channels(0xF3, 0xC7, 0x5A));
  EXPECT_EQ(gradient.startPoint, ui::UnitPoint::topLeading());
  EXPECT_EQ(gradient.endPoint, ui::UnitPoint::bottomTrailing());
}

}  // namespace
}  // namespace kelpo
