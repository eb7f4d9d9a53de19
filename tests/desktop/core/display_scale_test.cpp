// GDK_SCALE is checked before GTK takes it: a scale GTK cannot draw at
// left the host without a window (91 and more) or stopped it on an X error
// (below one), without a word.

#include "desktop/settings/display_scale.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <vector>

namespace kelpo::desktop {
namespace {

TEST(DisplayScale, OnlyScalesThatCanBeDrawnAreLetThrough) {
  for (const char* drawable : {"1", "2", "3", "16"}) {
    EXPECT_FALSE(refusedDisplayScale(drawable)) << drawable;
  }
  EXPECT_FALSE(refusedDisplayScale(nullptr));
  EXPECT_FALSE(refusedDisplayScale(""));  // as GTK: no scale of its own
  for (const char* absurd :
       {"0", "-1", "17", "91", "4096", "99999999999", "2.5", "2x", " 2", "two"}) {
    const auto refused = refusedDisplayScale(absurd);
    ASSERT_TRUE(refused) << absurd;
    // One line, naming the value and what would do.
    EXPECT_NE(refused->find(absurd), std::string::npos) << *refused;
    EXPECT_NE(refused->find("1 to 16"), std::string::npos) << *refused;
    EXPECT_EQ(refused->find('\n'), std::string::npos) << *refused;
  }
}

// The monitor's scale on Wayland is its mode over its logical size, which
// compositors round to whole units: 1280 pixels at 1.5 are 853 units wide.
TEST(DisplayScale, WaylandMonitorScaleIsTheModeOverTheLogicalSize) {
  struct Case {
    OutputExtent mode;
    OutputExtent logical;
    bool quarterTurned;
    std::optional<double> expected;
  };
  const Case cases[] = {
      {{1280, 720}, {1280, 720}, false, 1.0},
      {{2560, 1600}, {1280, 800}, false, 2.0},
      {{1280, 720}, {853, 480}, false, 1.5},  // sway rounds the logical width down
      {{1280, 720}, {854, 480}, false, 1.5},  // and another compositor up
      {{1280, 720}, {1024, 576}, false, 1.25},
      {{2880, 1800}, {1646, 1029}, false, 1.75},
      {{3840, 2160}, {2560, 1440}, false, 1.5},
      {{1280, 720}, {1920, 1080}, false, 2.0 / 3.0},  // a scale below one
      // Turned a quarter: the logical width lies along the mode's height.
      {{2560, 1600}, {1067, 1707}, true, 1.5},
      {{2560, 1600}, {1067, 1707}, false, 2.4},  // the same sizes, unturned
      // A compositor that gives no logical size, or sizes no screen has.
      {{1280, 720}, {0, 0}, false, std::nullopt},
      {{0, 0}, {1280, 720}, false, std::nullopt},
      {{-1280, 720}, {853, 480}, false, std::nullopt},
      {{1280, 720}, {-853, 480}, false, std::nullopt},
      {{1280, 720}, {1, 1}, false, std::nullopt},  // 1280, beyond drawing
      {{1, 1}, {1280, 720}, false, std::nullopt},  // below a quarter
      {{2147483647, 1}, {1, 1}, false, std::nullopt},
  };
  for (const auto& [mode, logical, quarterTurned, expected] : cases) {
    const auto found = waylandMonitorScale(mode, logical, quarterTurned);
    ASSERT_EQ(found.has_value(), expected.has_value())
        << mode.width << "x" << mode.height << " over " << logical.width;
    if (expected) {
      // Exactly a step of 120ths: 1280 over 853 is 1.5, not 1.5006.
      EXPECT_NEAR(*found, *expected, 1e-9) << mode.width << " over " << logical.width;
    }
  }
}

// GTK's monitors and the compositor's outputs pair by their order, which
// holds only while both lists count the same outputs.
TEST(DisplayScale, TheMonitorTakesTheScaleOfTheOutputAtItsPlaceInTheOrder) {
  const std::vector<WaylandOutput> outputs{
      {"HEADLESS-1", {1280, 800}, {1280, 800}, false},
      {"HEADLESS-2", {1920, 1200}, {1280, 800}, false},
      {"HEADLESS-3", {1280, 800}, {0, 0}, false},  // no xdg-output for it
  };
  struct Case {
    int monitor;
    int monitors;
    std::optional<double> expected;
  };
  const Case cases[] = {
      {0, 3, 1.0},           {1, 3, 1.5},
      {2, 3, std::nullopt},  {3, 3, std::nullopt},  // a monitor beyond GTK's count
      {-1, 3, std::nullopt},                        // GTK found none for the window
      {1, 2, std::nullopt},                         // an output came after GTK counted
      {1, 4, std::nullopt},                         // or went
  };
  for (const auto& [monitor, monitors, expected] : cases) {
    EXPECT_EQ(waylandMonitorScaleAmong(outputs, monitor, monitors), expected)
        << monitor << " of " << monitors;
  }
  EXPECT_EQ(waylandMonitorScaleAmong({}, 0, 0), std::nullopt);
  EXPECT_EQ(waylandMonitorScaleAmong({}, 0, 1), std::nullopt);
}

TEST(DisplayScale, X11MonitorScaleIsTheFontResolutionOrTheDrawingScale) {
  struct Case {
    int drawn;
    std::optional<double> xftDpi;
    double expected;
  };
  const Case cases[] = {
      {1, std::nullopt, 1.0},  // no resolution set: what GTK draws at
      {1, 96.0, 1.0},
      {1, 144.0, 1.5},  // KDE at 1.5: GTK draws at 1, the fonts at 144
      {1, 120.0, 1.25},
      {2, 192.0, 2.0},  // GNOME at 2
      {2, 96.0, 2.0},   // GDK_SCALE=2 by hand, the resolution left alone
      {2, std::nullopt, 2.0},
      {2, 288.0, 3.0},
      {1, 0.0, 1.0},  // an unset or broken resolution counts for nothing
      {1, -96.0, 1.0},
      {1, 1e12, 1.0},
      {1, std::numeric_limits<double>::quiet_NaN(), 1.0},
      {0, std::nullopt, 1.0},  // no drawing scale below one
  };
  for (const auto& [drawn, xftDpi, expected] : cases) {
    EXPECT_NEAR(x11MonitorScale(drawn, xftDpi), expected, 1e-9)
        << drawn << ", " << xftDpi.value_or(-1);
  }
}

TEST(DisplayScale, TheReportNamesTheDrawingScaleWhereItDiffers) {
  struct Case {
    std::optional<double> monitor;
    int drawn;
    const char* expected;
  };
  const Case cases[] = {
      {1.0, 1, "scale 1"},
      {2.0, 2, "scale 2"},
      // Not told: the drawing scale alone would pass for the monitor's.
      {std::nullopt, 2, "drawn at 2, monitor scale unknown"},
      {std::nullopt, 1, "drawn at 1, monitor scale unknown"},
      {1.5, 2, "monitor scale 1.5, drawn at 2"},
      {1.25, 2, "monitor scale 1.25, drawn at 2"},
      {1.75, 2, "monitor scale 1.75, drawn at 2"},
      {1.5, 1, "monitor scale 1.5, drawn at 1"},
      {4.0 / 3.0, 2, "monitor scale 1.33, drawn at 2"},
      {2.0 / 3.0, 1, "monitor scale 0.67, drawn at 1"},
      {3.0, 2, "monitor scale 3, drawn at 2"},
  };
  for (const auto& [monitor, drawn, expected] : cases) {
    EXPECT_EQ(describeScale(monitor, drawn), expected);
  }
}

}  // namespace
}  // namespace kelpo::desktop
