#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "platform/ui/layout/view_host.h"
#include "platform/ui/layout_test_support.h"
#include "style/score_badge.h"
#include "support/laid_out_queries.h"

namespace kelpo {
namespace {

using ui::LaidOutNode;

constexpr double kSize = 22;

// A badge shown by a view host, with the sheen position read back from the
// laid-out band.
class SheenHost {
 public:
  explicit SheenHost(std::int64_t score, bool reduceMotion = false)
      : host_(ScoreBadge{score, kSize, false}.body(), environment(reduceMotion), measurer_) {}

  // The band's frame and offset at `seconds`, or none for a badge without a sheen.
  [[nodiscard]] std::optional<LaidOutNode> bandAt(double seconds) {
    last_ = host_.frameAt(seconds);
    const auto bands = testing_support::nodesWhere(
        last_.content, [](const LaidOutNode& node) { return node.rotationDegrees != 0; });
    if (bands.empty()) return std::nullopt;
    return *bands.front();
  }

  // The sheen position that puts the band where it is at `seconds`.
  [[nodiscard]] double sheenAt(double seconds) {
    const auto band = bandAt(seconds);
    if (!band) return std::nan("");
    return (band->offset.x - kSize * 0.22) / (kSize * 1.2);
  }

  void hoverBadge() { host_.hover(last_.content.frame.center()); }
  void hoverEnd() { host_.hoverEnd(); }

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

constexpr double kTolerance = 1e-6;

TEST(ScoreBadgeSheen, SweepsOnceAfterAppearingEasingInAndOut) {
  SheenHost badge(10);
  EXPECT_NEAR(badge.sheenAt(0), -1, kTolerance);
  EXPECT_NEAR(badge.sheenAt(0.12), -1, kTolerance) << "the sweep starts after 0.12 s";
  const double early = badge.sheenAt(0.12 + 0.09) + 1;  // a tenth of the time
  EXPECT_GT(early, 0);
  EXPECT_LT(early, 0.2) << "slower than linear at the start";
  EXPECT_NEAR(badge.sheenAt(0.57), 0, kTolerance) << "ease-in-out: halfway at half time";
  EXPECT_NEAR(badge.sheenAt(1.02), 1, kTolerance);
  EXPECT_NEAR(badge.sheenAt(5), 1, kTolerance) << "it never comes back by itself";
}

TEST(ScoreBadgeSheen, StaysLeftWithReducedMotion) {
  SheenHost badge(10, /*reduceMotion=*/true);
  for (const double t : {0.0, 0.12, 0.57, 2.0}) EXPECT_NEAR(badge.sheenAt(t), -1, kTolerance) << t;
  badge.hoverBadge();
  EXPECT_NEAR(badge.sheenAt(3), -1, kTolerance);
}

TEST(ScoreBadgeSheen, HoverReplaysTheSweepFromTheLeft) {
  SheenHost badge(10);
  (void)badge.sheenAt(0);
  EXPECT_NEAR(badge.sheenAt(2), 1, kTolerance);
  badge.hoverBadge();
  EXPECT_NEAR(badge.sheenAt(2), -1, kTolerance) << "jumps back without animating";
  EXPECT_NEAR(badge.sheenAt(2.12), -1, kTolerance);
  EXPECT_NEAR(badge.sheenAt(2.57), 0, kTolerance);
  EXPECT_NEAR(badge.sheenAt(3.02), 1, kTolerance);

  badge.hoverEnd();
  EXPECT_NEAR(badge.sheenAt(4), 1, kTolerance) << "leaving does nothing";

  // A hover in the middle of a sweep starts it over.
  SheenHost midway(10);
  (void)midway.sheenAt(0);
  EXPECT_GT(midway.sheenAt(0.5), -1);
  midway.hoverBadge();
  EXPECT_NEAR(midway.sheenAt(0.5), -1, kTolerance);
  EXPECT_NEAR(midway.sheenAt(0.62), -1, kTolerance);
  EXPECT_NEAR(midway.sheenAt(1.52), 1, kTolerance);
}

}  // namespace
}  // namespace kelpo
