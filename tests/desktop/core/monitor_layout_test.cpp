#include "desktop/handling/monitor_layout.h"

#include <gtest/gtest.h>

#include <vector>

#include "desktop/settings/monitor_preference.h"

namespace kelpo::desktop {
namespace {

// Two 1280 x 720 outputs side by side, as `swaymsg create_output` lays them.
const std::vector<ui::Rect> sideBySide{{{0, 0}, {1280, 720}}, {{1280, 0}, {1280, 720}}};
// A laptop with a larger monitor to its left, tops aligned, bottoms not.
const std::vector<ui::Rect> uneven{{{1920, 0}, {1280, 800}}, {{0, 0}, {1920, 1080}}};

TEST(MonitorLayout, ADropLandsOnTheMonitorUnderThePointerElseTheNearest) {
  struct Case {
    const char* what;
    const std::vector<ui::Rect>* monitors;
    ui::Point pointer;
    std::optional<std::size_t> monitor;
  };
  const std::vector<ui::Rect> none;
  const Case cases[] = {
      {"inside the first", &sideBySide, {900, 300}, 0},
      {"inside the second", &sideBySide, {1500, 200}, 1},
      {"on the seam belongs to the right one", &sideBySide, {1280, 10}, 1},
      {"past the right edge of the layout", &sideBySide, {2700, 300}, 1},
      {"below the smaller one, in no monitor", &uneven, {2100, 950}, 0},
      {"on the larger one, listed second", &uneven, {100, 1000}, 1},
      {"above the layout, over the first", &uneven, {500, -40}, 1},
      {"no monitor at all", &none, {10, 10}, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(monitorUnder(c.pointer, *c.monitors), c.monitor) << c.what;
  }
}

TEST(MonitorLayout, XwaylandMonitorsTakeTheConnectorOfTheLogicalMonitorAtTheirCorner) {
  const std::vector<LogicalMonitor> mutter{
      {{0, 0}, {"Meta-0"}}, {{1280, 0}, {"Meta-1"}}, {{2560, 0}, {"DP-1", "DP-2"}}};
  struct Case {
    const char* what;
    std::vector<ui::Rect> shown;
    std::vector<LogicalMonitor> layout;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {"listed in another order",
       {{{1280, 0}, {1280, 720}}, {{0, 0}, {1280, 720}}},
       mutter,
       {"Meta-1", "Meta-0"}},
      {"mirrored: the first connector", {{{2560, 0}, {1920, 1080}}}, mutter, {"DP-1"}},
      {"a corner a pixel off from scaling", {{{1281, 0}, {1280, 720}}}, mutter, {"Meta-1"}},
      {"no logical monitor there", {{{0, 720}, {1280, 720}}}, mutter, {""}},
      {"no layout (mutter did not answer)", {{{0, 0}, {1280, 720}}}, {}, {""}},
      {"two logical monitors at one corner",
       {{{0, 0}, {1280, 720}}},
       {{{0, 0}, {"A"}}, {{0, 0}, {"B"}}},
       {""}},
      {"two shown at one corner", {{{0, 0}, {1280, 720}}, {{0, 0}, {800, 600}}}, mutter, {"", ""}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(connectorNamesByGeometry(c.shown, c.layout), c.names) << c.what;
  }
}

// The scale too comes from the logical monitor at the same corner: under
// XWayland the X server has none per monitor.
TEST(MonitorLayout, XwaylandMonitorsAreTheLogicalMonitorAtTheirCorner) {
  const std::vector<LogicalMonitor> mutter{{{0, 0}, {"Meta-0"}, 1.5}, {{1280, 0}, {"Meta-1"}, 1}};
  const std::vector<ui::Rect> shown{{{1280, 0}, {1920, 1080}}, {{0, 0}, {1280, 800}}};
  const auto found = logicalMonitorsByGeometry(shown, mutter);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0], 1u);
  EXPECT_EQ(found[1], 0u);
  EXPECT_EQ(mutter[*found[1]].scale, 1.5);
  // A logical monitor without a connector is no match.
  const std::vector<LogicalMonitor> unnamed{{{0, 0}, {}, 2}};
  EXPECT_EQ(logicalMonitorsByGeometry(shown, unnamed),
            (std::vector<std::optional<std::size_t>>{std::nullopt, std::nullopt}));
}

TEST(MonitorWish, AWishThatFindsNoMonitorIsToldNeverSilentlyDropped) {
  const std::vector<MonitorInfo> sway{{"HEADLESS-1", true}, {"HEADLESS-2", false}};
  const std::vector<MonitorInfo> none;
  struct Case {
    const char* what;
    std::string wanted;
    const std::vector<MonitorInfo>* monitors;
    bool namesKnown;
    std::optional<std::string> problem;
  };
  const Case cases[] = {
      {"a name plugged in", "HEADLESS-2", &sway, true, std::nullopt},
      {"a number in range", "1", &sway, true, std::nullopt},
      {"a number in range, names unknown", "1", &sway, false, std::nullopt},
      {"a name unplugged", "HDMI-A-1", &sway, true,
       "no monitor named \"HDMI-A-1\" is plugged in (there are HEADLESS-1, HEADLESS-2): the widget "
       "shows on the primary monitor until it is"},
      {"a number past the last", "2", &sway, true,
       "there is no monitor 2 (0 to 1): the widget shows on the primary monitor"},
      {"any name where names are unknown", "HEADLESS-1", &sway, false,
       "monitor names are not known on this desktop, so \"HEADLESS-1\" finds no monitor and the "
       "widget shows on the primary one; --monitor takes a number here (0 to 1)"},
      {"no monitor at all", "0", &none, true,
       "there is no monitor 0 (none is plugged in): the widget shows on the primary monitor"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(monitorWishProblem(c.wanted, *c.monitors, c.namesKnown), c.problem) << c.what;
  }
}

}  // namespace
}  // namespace kelpo::desktop
