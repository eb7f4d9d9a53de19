#include <gtest/gtest.h>

#include <cstdint>

#include "style/score_heat.h"

namespace kelpo {
namespace {

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
