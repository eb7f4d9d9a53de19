// What the week ring draws: how much of it each arc covers, and track and
// arcs in the theme's colours. What it reads as is the screen reader
// scenario's.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "components/week_ring.h"
#include "engine/layout_test_support.h"
#include "support/colors.h"
#include "support/laid_out_queries.h"

namespace kelpo {
namespace {

using testing_support::resolved;
using testing_support::shapes;
using ui::ColorScheme;

ui::LaidOutNode layOutRing(double size, AccentTheme accent = AccentTheme::braise,
                           bool sleeping = false) {
  WidgetSnapshot snapshot;
  snapshot.weekDone = 135;
  snapshot.weekPlanned = 75;
  snapshot.weekBudget = 300;
  snapshot.weekLabel = "2 h 15 / 5 h";
  return ui::testing::layOut(
      WeekRing{.snapshot = snapshot, .sleeping = sleeping, .size = size, .accent = accent}.body(),
      {size, size});
}

TEST(WeekRingDrawing, DrawsTrackPlannedAndDoneArcsInLayerOrder) {
  const auto ring = layOutRing(100);
  const auto drawn = shapes(ring);
  ASSERT_EQ(drawn.size(), 3u);
  const auto& track = *drawn[0];
  const auto& planned = *drawn[1];
  const auto& done = *drawn[2];

  // Size 100: a 10-point line inset by half a line, so the stroke's outer
  // edge touches the 100 x 100 square.
  for (const auto* shape : drawn) {
    EXPECT_EQ(shape->frame, (ui::Rect{{5, 5}, {90, 90}}));
    EXPECT_EQ(shape->strokeStyle.lineWidth, 10);
  }
  EXPECT_EQ(track.shape.trimTo, 1);
  EXPECT_DOUBLE_EQ(planned.shape.trimTo, 0.7);
  EXPECT_DOUBLE_EQ(done.shape.trimTo, 0.45);
  for (const auto* arc : {&planned, &done}) {
    EXPECT_EQ(arc->rotationDegrees, -90);  // starts at 12 o'clock
  }
}

// The planned arc is the done arc's colour, translucent; the theme colours
// the arcs, never the track.
TEST(WeekRingDrawing, ColoursArcsWithTheThemeAndTrackWithNeutral) {
  const auto lagune = layOutRing(62, AccentTheme::lagune);
  const auto braise = layOutRing(62, AccentTheme::braise);
  const auto rings = {shapes(lagune), shapes(braise)};
  for (const auto& drawn : rings) ASSERT_EQ(drawn.size(), 3u);
  const auto paintOf = [&](std::size_t ring, std::size_t layer, ColorScheme scheme) {
    return resolved(*std::data(rings)[ring][layer]->strokePaint, scheme);
  };
  for (const ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
    ui::Rgba planned = paintOf(0, 2, scheme);
    planned.alpha *= 0.35;
    EXPECT_EQ(paintOf(0, 1, scheme), planned);
    EXPECT_NE(paintOf(0, 2, scheme), paintOf(1, 2, scheme));
    EXPECT_EQ(paintOf(0, 0, scheme), paintOf(1, 0, scheme));
  }
}

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

// How much of the ring the planned and done arcs cover.
TEST(WeekRingFractions, CoverTheirShareOfTheBudget) {
  for (const FractionCase& c :
       {FractionCase{"sampleWeek", 135, 75, 300, 0.7, 0.45},
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
