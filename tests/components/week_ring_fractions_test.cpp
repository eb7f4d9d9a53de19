// How much of the ring the planned and done arcs cover.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "components/week_ring.h"

namespace kelpo {
namespace {

constexpr auto int64Max = std::numeric_limits<std::int64_t>::max();
constexpr auto int64Min = std::numeric_limits<std::int64_t>::min();

struct FractionCase {
  const char* name;
  std::int64_t done;
  std::int64_t planned;
  std::int64_t budget;
  double expectedPlanned;
  double expectedDone;
};

TEST(WeekRingFractions, CoverTheirShareOfTheBudget) {
  for (const FractionCase& c :
       {FractionCase{"sampleWeek", 135, 75, 300, 0.7, 0.45},
        FractionCase{"halfPlanned", 3, 2, 10, 0.5, 0.3},
        FractionCase{"nothingYet", 0, 0, 300, 0, 0},
        FractionCase{"zeroBudgetCountsAsOne", 1, 0, 0, 1, 1},
        FractionCase{"negativeBudgetCountsAsOne", 1, 0, -50, 1, 1},
        FractionCase{"overPlannedCapsAtFullCircle", 200, 200, 300, 1, 200.0 / 300.0},
        FractionCase{"overDoneCapsBoth", 450, 0, 300, 1, 1},
        // No lower bound: the arcs simply draw nothing.
        FractionCase{"negativeDone", -30, 10, 300, -20.0 / 300.0, -30.0 / 300.0},
        // The sum saturates rather than wrapping to a negative number.
        FractionCase{"sumOverflowsUpward", int64Max, 1, 300, 1, 1},
        FractionCase{"sumOverflowsDownward", int64Min, -1, 1, static_cast<double>(int64Min),
                     static_cast<double>(int64Min)}}) {
    SCOPED_TRACE(c.name);
    WidgetSnapshot snapshot;
    snapshot.weekDone = c.done;
    snapshot.weekPlanned = c.planned;
    snapshot.weekBudget = c.budget;
    EXPECT_DOUBLE_EQ(plannedFraction(snapshot), c.expectedPlanned);
    EXPECT_DOUBLE_EQ(doneFraction(snapshot), c.expectedDone);
  }
}

}  // namespace
}  // namespace kelpo
