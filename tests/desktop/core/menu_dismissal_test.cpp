#include "desktop/handling/menu_dismissal.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace kelpo::desktop {
namespace {

TEST(MenuHelp, OnlyWhereTheGrabStopsAtX11Clients) {
  const MenuHelp everywhere = menuHelpFor(true);
  EXPECT_FALSE(everywhere.catchClicks) << "X11 window managers, layer-shell: as they are";
  EXPECT_FALSE(everywhere.takeFocus);
  const MenuHelp xwayland = menuHelpFor(false);
  EXPECT_TRUE(xwayland.catchClicks);
  EXPECT_TRUE(xwayland.takeFocus);
}

// One step: the menu opens (with the widget's focus state then), closes by
// itself, or the compositor tells the focus; `closes` what the watch asks.
struct Step {
  enum Kind { open, close, focus, escapeUp } kind;
  bool focused = false;
  bool closes = false;
};

struct Sequence {
  std::string name;
  std::vector<Step> steps;
};

TEST(MenuDismissal, ClosesOnLosingAFocusHeldWhileOpenOrOnEscapesRelease) {
  using enum Step::Kind;
  const std::vector<Sequence> sequences = {
      {"focus granted, then given to another window",
       {{open, false}, {focus, true}, {focus, false, true}}},
      {"focused before it opened (an earlier menu), then lost",
       {{open, true}, {focus, false, true}}},
      {"the compositor never grants the focus: the stale unfocused state keeps it open",
       {{open, false}, {focus, false}, {focus, false}}},
      {"a second loss while the menu goes away asks nothing more",
       {{open, true}, {focus, false, true}, {focus, false}}},
      {"closed by a click or Escape: later focus changes are the widget's own",
       {{open, false}, {focus, true}, {close}, {focus, false}, {focus, true}, {focus, false}}},
      {"focus held from an earlier menu does not carry into the next one unfocused",
       {{open, false}, {focus, true}, {close}, {open, false}, {focus, false}}},
      {"no menu at all", {{focus, true}, {focus, false}, {escapeUp}}},
      {"Escape's press kept by the compositor: its release closes",
       {{open, true}, {escapeUp, false, true}}},
      {"Escape's release closes also before the focus is granted",
       {{open, false}, {escapeUp, false, true}, {focus, true}, {focus, false}}},
      {"GTK closed the menu on Escape's press: the release asks nothing more",
       {{open, true}, {close}, {escapeUp}}},
      {"a held Escape repeats its release: one close",
       {{open, true}, {escapeUp, false, true}, {escapeUp}}},
      {"Escape released as the menu closes by focus loss: one close",
       {{open, true}, {focus, false, true}, {escapeUp}}},
      {"opened again after Escape closed it",
       {{open, true}, {escapeUp, false, true}, {open, true}, {escapeUp, false, true}}},
      {"opened again after a close by focus loss",
       {{open, true}, {focus, false, true}, {open, false}, {focus, true}, {focus, false, true}}},
  };
  for (const Sequence& sequence : sequences) {
    MenuDismissal watch;
    for (std::size_t index = 0; index < sequence.steps.size(); ++index) {
      const Step& step = sequence.steps[index];
      bool closes = false;
      switch (step.kind) {
        case open:
          watch.opened(step.focused);
          break;
        case close:
          watch.closed();
          break;
        case focus:
          closes = watch.focusChanged(step.focused);
          break;
        case escapeUp:
          closes = watch.escapeReleased();
          break;
      }
      EXPECT_EQ(closes, step.closes) << sequence.name << ", step " << index;
    }
  }
}

TEST(MenuDismissal, TellsWhetherTheMenuShows) {
  MenuDismissal watch;
  EXPECT_FALSE(watch.open());
  watch.opened(false);
  EXPECT_TRUE(watch.open());
  EXPECT_FALSE(watch.focusChanged(true));
  EXPECT_TRUE(watch.focusChanged(false));
  EXPECT_FALSE(watch.open()) << "closed by the focus loss it reported";
}

}  // namespace
}  // namespace kelpo::desktop
