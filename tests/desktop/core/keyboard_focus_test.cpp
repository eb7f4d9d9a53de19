#include "desktop/handling/keyboard_focus.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace kelpo::desktop::focus {

void PrintTo(const Outcome& o, std::ostream* out) {
  *out << "{granted " << o.granted << ", accept "
       << (o.acceptFocus ? (*o.acceptFocus ? "on" : "off") : "unchanged") << ", present "
       << o.present << "}";
}

namespace {

const Outcome refused{};
const Outcome asksTheManager{.granted = true, .acceptFocus = true, .present = true};
const Outcome grantedAsItIs{.granted = true, .acceptFocus = std::nullopt, .present = false};
const Outcome nothing{};
const Outcome stopsAccepting{.acceptFocus = false};

struct Step {
  Event event;
  Outcome expected;
  bool acceptingAfter;
};

struct Story {
  std::string name;
  std::vector<Step> steps;
};

void PrintTo(const Story& story, std::ostream* out) {
  *out << story.name;
}

class KeyboardFocusStory : public testing::TestWithParam<Story> {};

TEST_P(KeyboardFocusStory, AcceptsTheFocusOnlyWhileAskedForAndHeld) {
  KeyboardFocus focus;
  int index = 0;
  for (const Step& step : GetParam().steps) {
    SCOPED_TRACE("step " + std::to_string(index++));
    EXPECT_EQ(focus.handle(step.event), step.expected);
    EXPECT_EQ(focus.accepting(), step.acceptingAfter);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Stories, KeyboardFocusStory,
    testing::Values(
        // A click's focus (never asked for) changes nothing, and its loss
        // does not touch the hint either.
        Story{"unasked", {{Gained{}, nothing, false}, {Lost{}, nothing, false}}},
        Story{"hidden", {{Asked{false}, refused, false}}},
        // Asked, given, then taken by another window: clicks no longer take it.
        Story{"asked_then_left",
              {{Asked{}, asksTheManager, true},
               {Gained{}, nothing, true},
               {Lost{}, stopsAccepting, false},
               {Gained{}, nothing, false}}},
        // Asked twice before the manager answers: one hint, two presents.
        Story{"asked_twice_while_waiting",
              {{Asked{}, asksTheManager, true},
               {Asked{}, {.granted = true, .acceptFocus = std::nullopt, .present = true}, true},
               {Gained{}, nothing, true}}},
        // Asked while it has the focus: nothing to do, and no raise.
        Story{"asked_while_focused",
              {{Asked{}, asksTheManager, true},
               {Gained{}, nothing, true},
               {Asked{}, grantedAsItIs, true}}},
        // The menu's grab takes the focus and gives it back on Escape: the
        // window keeps the keys without accepting a new focus, and a later
        // request works as the first.
        Story{"menu_grab_and_back",
              {{Asked{}, asksTheManager, true},
               {Gained{}, nothing, true},
               {Lost{}, stopsAccepting, false},
               {Gained{}, nothing, false},
               {Asked{}, grantedAsItIs, false},
               {Lost{}, nothing, false},
               {Asked{}, asksTheManager, true}}}),
    [](const testing::TestParamInfo<Story>& story) { return story.param.name; });

TEST(KeyboardFocus, FollowsWhetherTheWindowHoldsTheFocus) {
  KeyboardFocus focus;
  EXPECT_FALSE(focus.focused());
  (void)focus.handle(Asked{});
  EXPECT_FALSE(focus.focused()) << "asked for is not yet given";
  (void)focus.handle(Gained{});
  EXPECT_TRUE(focus.focused());
  (void)focus.handle(Lost{});
  EXPECT_FALSE(focus.focused());
}

}  // namespace
}  // namespace kelpo::desktop::focus
