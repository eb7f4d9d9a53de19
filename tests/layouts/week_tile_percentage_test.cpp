// The "de ta semaine" tile's percentage: truncating, capped, never overflowing.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "layouts/week_figures.h"

namespace kelpo {
namespace {

constexpr auto int64Max = std::numeric_limits<std::int64_t>::max();
constexpr auto int64Min = std::numeric_limits<std::int64_t>::min();

struct PercentageCase {
  const char* name;
  std::int64_t done;
  std::int64_t budget;
  std::int64_t expected;
};

class WeekTilePercentage : public testing::TestWithParam<PercentageCase> {};

TEST_P(WeekTilePercentage, IsDoneOverBudgetInWholePercent) {
  WidgetSnapshot snapshot;
  snapshot.weekDone = GetParam().done;
  snapshot.weekBudget = GetParam().budget;
  EXPECT_EQ(tilePercentage(snapshot), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Weeks, WeekTilePercentage,
    testing::Values(PercentageCase{"sampleWeek", 135, 300, 45},
                    PercentageCase{"truncatesTowardZero", 1, 3, 33},
                    PercentageCase{"nothingOfNothing", 0, 0, 0},
                    PercentageCase{"budgetOfOneDividesByOne", 1, 1, 100},
                    PercentageCase{"zeroBudgetDividesByOne", 2, 0, 100},
                    PercentageCase{"negativeBudgetDividesByOne", 0, -10, 0},
                    PercentageCase{"overBudgetCapsAt100", 450, 300, 100},
                    PercentageCase{"negativeDoneTruncatesTowardZero", -1, 3, -33},
                    PercentageCase{"hugeDoneSaturatesThenCaps", int64Max, 300, 100},
                    PercentageCase{"hugeNegativeDoneSaturates", int64Min, 1, int64Min},
                    PercentageCase{"hugeNegativeDoneOverBudget", int64Min / 2, 4, int64Min / 4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WeekDoneItems, CountsAnAbsentFigureAsZero) {
  WidgetSnapshot snapshot;
  EXPECT_EQ(weekDoneItems(snapshot), 0);
  snapshot.weekDoneCount = 2;
  EXPECT_EQ(weekDoneItems(snapshot), 2);
}

}  // namespace
}  // namespace kelpo
