#include <gtest/gtest.h>

#include <cstdint>

#include "style/score_heat.h"

namespace kelpo {
namespace {

// Which badges are solid and which gold: 9 only solid, 10 and above gold
// (gold badges count as solid), everything below 9 neither; unread badges
// take the heat of 5, neither solid nor gold, whatever their score.
TEST(ScoreHeat, OnlyNineIsSolidAndTenAndAboveAreGold) {
  struct Case {
    std::int64_t score;
    bool unread, solid, gold;
  };
  for (const Case& c :
       {Case{INT64_MIN, false, false, false}, Case{-5, false, false, false},
        Case{1, false, false, false}, Case{8, false, false, false}, Case{9, false, true, false},
        Case{10, false, true, true}, Case{1000, false, true, true}, Case{9, true, false, false},
        Case{14, true, false, false}}) {
    const ScoreHeat& heat = heatForBadge(c.score, c.unread);
    EXPECT_EQ(heat.solid, c.solid) << c.score << (c.unread ? " unread" : "");
    EXPECT_EQ(heat.gold, c.gold) << c.score << (c.unread ? " unread" : "");
  }
}

// Scores are clamped to 1...10 to pick their heat; the heats adapt to the
// scheme.
TEST(ScoreHeat, BadgePicksTheClampedScoreOrFiveWhenUnread) {
  const auto& table = heatTable();
  const std::pair<std::int64_t, std::size_t> picks[] = {
      {INT64_MIN, 0}, {-5, 0}, {0, 0}, {1, 0}, {7, 6}, {14, 9}, {INT64_MAX, 9}};
  for (const auto& [score, entry] : picks) EXPECT_EQ(&heatForBadge(score, false), &table[entry]);
  for (const std::int64_t score : {0, 9, 10, 14}) EXPECT_EQ(&heatForBadge(score, true), &table[4]);
  EXPECT_NE(table[0].background.resolve(ui::ColorScheme::light),
            table[0].background.resolve(ui::ColorScheme::dark));
}

}  // namespace
}  // namespace kelpo
