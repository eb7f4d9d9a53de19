#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "layouts/widget_mode.h"

namespace kelpo {
namespace {

struct ModeCase {
  const char* name;
  std::int64_t toSortCount;
  std::int64_t programCount;
  std::int64_t weekDone;
  std::int64_t weekBudget;
  bool searching;
  bool itemsInLists;  // lists filled although the counts may say otherwise
  WidgetMode expectedMode;
  std::string expectedLink;
};

TEST(WidgetModeTable, ModeAndLinkFollowTheCountsAndTheWeek) {
  using enum WidgetMode;
  const std::string inbox = "kelpo://inbox", programme = "kelpo://program",
                    fill = "kelpo://complete-week";
  // clang-format off
  for (const ModeCase& c : {
      ModeCase{"SortingComesFirst",             3,  5,   135, 300, false, false, toSort,       inbox},
      ModeCase{"CountDecidesNotTheEmptyList",   2,  0,   0,   300, false, false, toSort,       inbox},
      ModeCase{"ProgrammeWhenNothingToSort",    0,  2,   135, 300, false, false, program,      programme},
      ModeCase{"WeekStartedNotFull",            0,  0,   135, 300, false, false, completeWeek, fill},
      ModeCase{"WeekStartedButSearching",       0,  0,   135, 300, true,  false, idle,         programme},
      ModeCase{"BudgetReachedExactly",          0,  0,   300, 300, false, false, weekFull,     programme},
      ModeCase{"BudgetExceededWhileSearching",  0,  0,   400, 300, true,  false, weekFull,     programme},
      ModeCase{"ZeroBudgetCountsAsFull",        0,  0,   0,   0,   false, false, weekFull,     programme},
      ModeCase{"WeekNotStarted",                0,  0,   0,   300, false, false, idle,         programme},
      ModeCase{"NegativeDoneIsNotStarted",      0,  0,   -5,  300, false, false, idle,         programme},
      ModeCase{"ListsIgnoredWhenCountsAreZero", 0,  0,   135, 300, false, true,  completeWeek, fill},
      ModeCase{"NegativeCountsAreNothing",      -1, -1,  0,   300, false, true,  idle,         programme}}) {
    // clang-format on
    SCOPED_TRACE(c.name);
    WidgetSnapshot snapshot;
    snapshot.toSortCount = c.toSortCount;
    snapshot.programCount = c.programCount;
    snapshot.weekDone = c.weekDone;
    snapshot.weekBudget = c.weekBudget;
    snapshot.searching = c.searching;
    if (c.itemsInLists) {
      snapshot.toSort.resize(2);
      snapshot.program.resize(2);
    }
    const WidgetMode m = mode(snapshot);
    EXPECT_EQ(modeName(m), modeName(c.expectedMode));
    EXPECT_EQ(widgetLink(m), c.expectedLink);
  }
}

}  // namespace
}  // namespace kelpo
