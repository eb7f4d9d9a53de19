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

TEST(WeekTilePercentage, IsDoneOverBudgetInWholePercent) {
  for (const PercentageCase& c :
       {PercentageCase{"sampleWeek", 135, 300, 45}, PercentageCase{"truncatesTowardZero", 1, 3, 33},
        PercentageCase{"nothingOfNothing", 0, 0, 0},
        PercentageCase{"budgetOfOneDividesByOne", 1, 1, 100},
        PercentageCase{"zeroBudgetDividesByOne", 2, 0, 100},
        PercentageCase{"negativeBudgetDividesByOne", 0, -10, 0},
        PercentageCase{"overBudgetCapsAt100", 450, 300, 100},
        PercentageCase{"negativeDoneTruncatesTowardZero", -1, 3, -33},
        PercentageCase{"hugeDoneSaturatesThenCaps", int64Max, 300, 100},
        PercentageCase{"hugeNegativeDoneSaturates", int64Min, 1, int64Min},
        PercentageCase{"hugeNegativeDoneOverBudget", int64Min / 2, 4, int64Min / 4}}) {
    SCOPED_TRACE(c.name);
    WidgetSnapshot snapshot;
    snapshot.weekDone = c.done;
    snapshot.weekBudget = c.budget;
    EXPECT_EQ(tilePercentage(snapshot), c.expected);
  }
}

}  // namespace
}  // namespace kelpo
