// View state over time: appear callbacks and state kept by view identity.
// The badge sheen test drives eased animations, scheduled tasks, hovering
// and whether the host is moving, and would never sweep if appearing fired
// on every frame.

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/layout/view_host.h"
#include "engine/layout_test_support.h"

namespace kelpo::ui {
namespace {

// The value a view shows: its state as the text's offset.
double shownValue(const LaidOutWidget& widget) {
  return widget.content.offset.x;
}

TEST(ViewHost, AFrameIsBuiltAgainOnlyWhenAppearingChangedState) {
  // Each view sets its state on appear to `target`, after `delay` seconds.
  struct Case {
    const char* name;
    double target;
    double delay;
    int builds;
    double shown;
  };
  for (const Case& c :
       {Case{"sets what it holds", -1, 0, 1, -1}, Case{"sets a new value", 1, 0, 2, 1},
        Case{"a task due at once sets a new value", 1, -1, 2, 1},
        Case{"a later task", 1, 0.5, 1, -1}}) {
    SCOPED_TRACE(c.name);
    const View view = Stateful(-1, [c](const StateHandle& state, const Environment&) {
      return Text::verbatim("x")
          .offset(state.value(), 0)
          .onAppear([state, c](ActionContext& context) {
            const auto set = [state, c](ActionContext&) {
              state.set(c.target, Transaction::disablesAnimations());
            };
            if (c.delay == 0) {
              set(context);
            } else {
              context.schedule(std::max(0.0, c.delay), set);
            }
          });
    });
    int builds = 0;
    ViewHost host(
        [&](const Environment&) {
          ++builds;
          return view;
        },
        testing::testEnvironment(), testing::fakeMeasurer());
    EXPECT_DOUBLE_EQ(shownValue(host.frameAt(0)), c.shown);
    EXPECT_EQ(builds, c.builds);
  }
}

TEST(ViewHost, StateFollowsItsViewByIdentity) {
  std::vector<std::string> order{"a", "b"};
  const auto row = [](const std::string& name) {
    return Stateful(0, [name](const StateHandle& state, const Environment&) {
      return Text::verbatim(name + "=" + std::to_string(static_cast<int>(state.value())))
          .onAppear([state, name](ActionContext&) {
            state.set(name == "a" ? 1 : 2, Transaction::disablesAnimations());
          });
    });
  };
  ViewHost host(
      [&](const Environment&) {
        return VStack(HorizontalAlignment::leading, 0,
                      {ForEach(
                          order, [](const std::string& s) { return s; }, row)});
      },
      testing::testEnvironment(), testing::fakeMeasurer());
  const LaidOutWidget before = host.frameAt(0);
  EXPECT_EQ(before.content.children.at(0).text.runs.at(0).text, "a=1");
  order = {"b", "a"};
  const LaidOutWidget after = host.frameAt(1);
  EXPECT_EQ(after.content.children.at(0).text.runs.at(0).text, "b=2");
  EXPECT_EQ(after.content.children.at(1).text.runs.at(0).text, "a=1");
}

}  // namespace
}  // namespace kelpo::ui
