#include <gtest/gtest.h>

#include "style/color_literal.h"
#include "support/colors.h"

namespace kelpo {
namespace {

using testing_support::channels;
using ui::ColorScheme;

TEST(AdaptiveColor, DrawsEachVariantInItsSchemeAlsoUnderOpacity) {
  const ui::Color color = adaptiveColor("#FF7A55", "rgba(255,122,85,0.14)");
  EXPECT_EQ(color.resolve(ColorScheme::light), channels(255, 122, 85));
  EXPECT_EQ(color.resolve(ColorScheme::dark), channels(255, 122, 85, 0.14));

  const ui::Color faded = adaptiveColor("#FFFFFF", "rgba(0,0,0,0.5)").opacity(0.5);
  EXPECT_EQ(faded.resolve(ColorScheme::light), channels(255, 255, 255, 0.5));
  EXPECT_EQ(faded.resolve(ColorScheme::dark), channels(0, 0, 0, 0.25));

  const ui::Color fixed = fixedColor("#5A3900");
  EXPECT_EQ(fixed.resolve(ColorScheme::light), channels(0x5A, 0x39, 0x00));
  EXPECT_EQ(fixed.resolve(ColorScheme::dark), channels(0x5A, 0x39, 0x00));
}

}  // namespace
}  // namespace kelpo
