#include <gtest/gtest.h>

#include <cstdint>

#include "style/score_heat.h"

namespace kelpo {
namespace {

using ui::ColorScheme;

// Which badges are solid and which gold: 9 only solid, 10 and above gold
// (gold badges count as solid), everything below 9 neither.
TEST(ScoreHeat, OnlyNineIsSolidAndTenAndAboveAreGold) {
  struct Case {
    std::int64_t score;
    bool solid, gold;
  };
  for (const Case& c : {Case{INT64_MIN, false, false}, Case{-5, false, false},
                        Case{1, false, false}, Case{8, false, false}, Case{9, true, false},
                        Case{10, true, true}, Case{1000, true, true}}) {
    const ScoreHeat heat = ScoreHeat::forScore(c.score);
    EXPECT_EQ(heat.solid, c.solid) << c.score;
    EXPECT_EQ(heat.gold, c.gold) << c.score;
  }
}

// Scores at or below 1 share the coldest heat; adaptive heats differ by scheme.
TEST(ScoreHeat, EverythingBelowOneLooksLikeOne) {
  const ScoreHeat one = ScoreHeat::forScore(1);
  for (const std::int64_t score : {std::int64_t{0}, std::int64_t{-5}, INT64_MIN}) {
    const ScoreHeat heat = ScoreHeat::forScore(score);
    for (const ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
      EXPECT_EQ(heat.foreground.resolve(scheme), one.foreground.resolve(scheme)) << score;
      EXPECT_EQ(heat.background.resolve(scheme), one.background.resolve(scheme)) << score;
    }
  }
  EXPECT_NE(one.background.resolve(ColorScheme::light), one.background.resolve(ColorScheme::dark));
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

}  // namespace
}  // namespace kelpo
