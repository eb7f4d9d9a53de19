// GDK_SCALE is checked before GTK takes it: a scale GTK cannot draw at
// left the host without a window (91 and more) or stopped it on an X error
// (below one), without a word.

#include "desktop/settings/display_scale.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace kelpo::desktop
