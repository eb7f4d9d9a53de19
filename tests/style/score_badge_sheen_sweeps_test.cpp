#include <gtest/gtest.h>

#include <cmath>

#include "engine/layout/view_host.h"
#include "engine/layout_test_support.h"
#include "style/score_badge.h"
#include "support/laid_out_queries.h"

namespace kelpo {
namespace {

using ui::LaidOutNode;

constexpr double badgeSize = 22;

// A badge shown by a view host, with the sheen position read back from the
// laid-out band.
class SheenHost {
 public:
  explicit SheenHost(std::int64_t score, bool reduceMotion = false)
      : host_(ScoreBadge{score, badgeSize, false}.body(), environment(reduceMotion), measurer_) {}

  // The sheen position (-1 to 1) that puts the band where it is at `seconds`.
  [[nodiscard]] double sheenAt(double seconds) {
    last_ = host_.frameAt(seconds);
    const auto bands = testing_support::nodesWhere(
        last_.content, [](const LaidOutNode& node) { return node.rotationDegrees != 0; });
    if (bands.empty()) return std::nan("");
    const double left = sheenOffsetX(-1, badgeSize);
    return 2 * (bands.front()->offset.x - left) / (sheenOffsetX(1, badgeSize) - left) - 1;
  }

  void hoverBadge() { host_.hover(last_.content.frame.center()); }
  void hoverEnd() { host_.hoverEnd(); }
  void advanceTo(double seconds) { host_.advanceTo(seconds); }
  [[nodiscard]] bool isMoving() const { return host_.isMoving(); }

 private:
  static ui::Environment environment(bool reduceMotion) {
    ui::Environment env = ui::testing::testEnvironment();
    env.accessibilityReduceMotion = reduceMotion;
    return env;
  }
  ui::testing::FakeTextMeasurer measurer_;
  ui::ViewHost host_;
  ui::LaidOutWidget last_;
};

constexpr double tolerance = 1e-6;

TEST(ScoreBadgeSheen, SweepsOnceAfterAppearingEasingInAndOut) {
  SheenHost badge(10);
  EXPECT_NEAR(badge.sheenAt(0), -1, tolerance);
  EXPECT_NEAR(badge.sheenAt(0.12), -1, tolerance) << "the sweep starts after 0.12 s";
  const double early = badge.sheenAt(0.12 + 0.09) + 1;  // a tenth of the time
  EXPECT_GT(early, 0);
  EXPECT_LT(early, 0.2) << "slower than linear at the start";
  EXPECT_NEAR(badge.sheenAt(0.57), 0, tolerance) << "ease-in-out: halfway at half time";
  EXPECT_NEAR(badge.sheenAt(1.02), 1, tolerance);
  EXPECT_NEAR(badge.sheenAt(5), 1, tolerance) << "it never comes back by itself";
}

// A host with a task waiting or a value animating needs frames; at rest, none.
TEST(ScoreBadgeSheen, KeepsItsHostMovingWhileItWaitsOrSweepsOnly) {
  SheenHost badge(10);
  (void)badge.sheenAt(0);
  EXPECT_TRUE(badge.isMoving()) << "the sweep waits for its pause";
  (void)badge.sheenAt(0.5);
  EXPECT_TRUE(badge.isMoving());
  (void)badge.sheenAt(1.02);
  EXPECT_FALSE(badge.isMoving());
  // Hovered long after the last frame: the sweep starts then, not at 1.02.
  badge.advanceTo(10);
  badge.hoverBadge();
  EXPECT_TRUE(badge.isMoving());
  EXPECT_NEAR(badge.sheenAt(10.57), 0, tolerance);

  SheenHost plain(7);
  (void)plain.sheenAt(0);
  EXPECT_FALSE(plain.isMoving());
}

TEST(ScoreBadgeSheen, StaysLeftWithReducedMotion) {
  SheenHost badge(10, /*reduceMotion=*/true);
  for (const double t : {0.0, 0.12, 0.57, 2.0}) EXPECT_NEAR(badge.sheenAt(t), -1, tolerance) << t;
  badge.hoverBadge();
  EXPECT_NEAR(badge.sheenAt(3), -1, tolerance);
}

TEST(ScoreBadgeSheen, HoverReplaysTheSweepFromTheLeft) {
  SheenHost badge(10);
  (void)badge.sheenAt(0);
  EXPECT_NEAR(badge.sheenAt(2), 1, tolerance);
  badge.hoverBadge();
  EXPECT_NEAR(badge.sheenAt(2), -1, tolerance) << "jumps back without animating";
  EXPECT_NEAR(badge.sheenAt(2.12), -1, tolerance);
  EXPECT_NEAR(badge.sheenAt(2.57), 0, tolerance);
  EXPECT_NEAR(badge.sheenAt(3.02), 1, tolerance);

  badge.hoverEnd();
  EXPECT_NEAR(badge.sheenAt(4), 1, tolerance) << "leaving does nothing";

  // A hover in the middle of a sweep starts it over.
  SheenHost midway(10);
  (void)midway.sheenAt(0);
  EXPECT_GT(midway.sheenAt(0.5), -1);
  midway.hoverBadge();
  EXPECT_NEAR(midway.sheenAt(0.5), -1, tolerance);
  EXPECT_NEAR(midway.sheenAt(0.62), -1, tolerance);
  EXPECT_NEAR(midway.sheenAt(1.52), 1, tolerance);
}

}  // namespace
}  // namespace kelpo
