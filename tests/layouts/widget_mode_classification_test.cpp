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

WidgetSnapshot snapshotFor(const ModeCase& c) {
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
  return snapshot;
}

TEST(WidgetModeTable, ModeAndLinkFollowTheCountsAndTheWeek) {
  for (const ModeCase& c :
       {ModeCase{"SortingComesFirst", 3, 5, 135, 300, false, false, WidgetMode::toSort,
                 "kelpo://inbox"},
        ModeCase{"CountDecidesNotTheEmptyList", 2, 0, 0, 300, false, false, WidgetMode::toSort,
                 "kelpo://inbox"},
        ModeCase{"ProgrammeWhenNothingToSort", 0, 2, 135, 300, false, false, WidgetMode::program,
                 "kelpo://program"},
        ModeCase{"WeekStartedNotFull", 0, 0, 135, 300, false, false, WidgetMode::completeWeek,
                 "kelpo://complete-week"},
        ModeCase{"WeekStartedButSearching", 0, 0, 135, 300, true, false, WidgetMode::idle,
                 "kelpo://program"},
        ModeCase{"BudgetReachedExactly", 0, 0, 300, 300, false, false, WidgetMode::weekFull,
                 "kelpo://program"},
        ModeCase{"BudgetExceededWhileSearching", 0, 0, 400, 300, true, false, WidgetMode::weekFull,
                 "kelpo://program"},
        ModeCase{"ZeroBudgetCountsAsFull", 0, 0, 0, 0, false, false, WidgetMode::weekFull,
                 "kelpo://program"},
        ModeCase{"WeekNotStarted", 0, 0, 0, 300, false, false, WidgetMode::idle, "kelpo://program"},
        ModeCase{"NegativeDoneIsNotStarted", 0, 0, -5, 300, false, false, WidgetMode::idle,
                 "kelpo://program"},
        ModeCase{"ListsIgnoredWhenCountsAreZero", 0, 0, 135, 300, false, true,
                 WidgetMode::completeWeek, "kelpo://complete-week"},
        ModeCase{"NegativeCountsAreNothing", -1, -1, 0, 300, false, true, WidgetMode::idle,
                 "kelpo://program"}}) {
    SCOPED_TRACE(c.name);
    const WidgetMode m = mode(snapshotFor(c));
    EXPECT_EQ(modeName(m), modeName(c.expectedMode));
    EXPECT_EQ(widgetLink(m), c.expectedLink);
  }
}

}  // namespace
}  // namespace kelpo
