#include <gtest/gtest.h>

#include <vector>

#include "desktop/settings/instance_place.h"
#include "desktop/settings/monitor_preference.h"

namespace kelpo::desktop {
namespace {

// A 1280 x 800 monitor under a 32-point top bar.
const ui::Rect workArea{{0, 32}, {1280, 768}};
const ui::Size medium{364, 170};

ui::Rect at(double x, double y) {
  return {{x, y}, medium};
}

TEST(InstancePlace, ADropSnapsToNearEdgesAndIsMeasuredFromTheNearestCorner) {
  struct Case {
    const char* what;
    ui::Rect dropped;
    InstancePlace place;
  };
  const Case cases[] = {
      {"far from every edge, upper left half", at(200, 150), {Corner::topLeft, 200, 118}},
      {"within 16 of the top bar and the left edge", at(10, 40), {Corner::topLeft, 0, 0}},
      {"17 from the left edge stays", at(17, 300), {Corner::topLeft, 17, 268}},
      {"near the bottom right", at(1280 - 364 - 12, 800 - 170 - 3), {Corner::bottomRight, 0, 0}},
      {"lower left, off the screen's left", at(-50, 600), {Corner::bottomLeft, 0, 30}},
      {"over the top bar comes below it", at(800, 0), {Corner::topRight, 116, 0}},
      {"off the bottom right", at(2000, 2000), {Corner::bottomRight, 0, 0}},
  };
  for (const Case& c : cases) {
    const InstancePlace place = placeOfDrop(c.dropped, workArea);
    EXPECT_EQ(place, c.place) << c.what << ": " << static_cast<int>(place.corner) << " "
                              << place.horizontalOffset << " " << place.verticalOffset;
  }
}

// A place measured from its corner comes back where it was dropped, and on
// a smaller screen it stays fully visible.
TEST(InstancePlace, FramesComeBackWhereDroppedAndStayOnSmallerScreens) {
  for (const ui::Rect dropped : {at(200, 150), at(700, 500), at(40, 560), at(880, 90)}) {
    const ui::Rect frame = frameAt(placeOfDrop(dropped, workArea), medium, workArea);
    EXPECT_DOUBLE_EQ(frame.minX(), dropped.minX());
    EXPECT_DOUBLE_EQ(frame.minY(), dropped.minY());
  }
  const ui::Rect small{{0, 0}, {800, 400}};
  const ui::Rect frame = frameAt({Corner::topLeft, 700, 350}, medium, small);
  EXPECT_DOUBLE_EQ(frame.maxX(), small.maxX());
  EXPECT_DOUBLE_EQ(frame.maxY(), small.maxY());
  const ui::Rect bottomRight = frameAt({Corner::bottomRight, 24, 24}, medium, small);
  EXPECT_DOUBLE_EQ(bottomRight.maxX(), 800 - 24);
  EXPECT_DOUBLE_EQ(bottomRight.maxY(), 400 - 24);
}

TEST(MonitorChoice, TheNamedMonitorWhilePluggedElseThePrimaryElseTheFirst) {
  const std::vector<MonitorInfo> both{{"eDP-1", true}, {"HDMI-A-1", false}};
  const std::vector<MonitorInfo> laptopOnly{{"eDP-1", true}};
  const std::vector<MonitorInfo> noPrimary{{"DP-1", false}, {"DP-2", false}};
  struct Case {
    std::optional<std::string> wanted;
    const std::vector<MonitorInfo>* monitors;
    std::optional<std::size_t> chosen;
  };
  const std::vector<MonitorInfo> none;
  const Case cases[] = {
      {"HDMI-A-1", &both, 1},        // plugged in
      {"HDMI-A-1", &laptopOnly, 0},  // unplugged: the primary
      {std::nullopt, &both, 0},      // no wish: the primary
      {"", &noPrimary, 0},           // no primary: the first
      {"DP-2", &noPrimary, 1},      {"DP-2", &none, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(chooseMonitor(c.wanted, *c.monitors), c.chosen) << c.wanted.value_or("(none)");
  }
}

}  // namespace
}  // namespace kelpo::desktop
