#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "rgba_printing.h"
#include "style/color_literal.h"
#include "style/neutral_colors.h"

namespace kelpo {
namespace {

using ui::channels;
using ui::ColorScheme;

TEST(AdaptiveColor, DrawsEachVariantInItsScheme) {
  const ui::Color color = adaptiveColor("#FF7A55", "rgba(255,122,85,0.14)");
  EXPECT_EQ(color.resolve(ColorScheme::light), channels(255, 122, 85));
  EXPECT_EQ(color.resolve(ColorScheme::dark), channels(255, 122, 85, 0.14));
}

TEST(AdaptiveColor, KeepsEachVariantWhenOpacityIsApplied) {
  const ui::Color color = adaptiveColor("#FFFFFF", "rgba(0,0,0,0.5)").opacity(0.5);
  EXPECT_EQ(color.resolve(ColorScheme::light), channels(255, 255, 255, 0.5));
  EXPECT_EQ(color.resolve(ColorScheme::dark), channels(0, 0, 0, 0.25));
}

TEST(FixedColor, IsTheSameInBothSchemes) {
  const ui::Color color = fixedColor("#5A3900");
  EXPECT_EQ(color.resolve(ColorScheme::light), channels(0x5A, 0x39, 0x00));
  EXPECT_EQ(color.resolve(ColorScheme::dark), channels(0x5A, 0x39, 0x00));
}

struct NeutralCase {
  const char* name;
  std::function<const ui::Color&()> color;
  ui::Rgba light;
  ui::Rgba dark;
};

void PrintTo(const NeutralCase& c, std::ostream* out) {
  *out << c.name;
}

class NeutralColorTest : public testing::TestWithParam<NeutralCase> {};

TEST_P(NeutralColorTest, HasItsLightAndDarkVariants) {
  const ui::Color& color = GetParam().color();
  EXPECT_EQ(color.resolve(ColorScheme::light), GetParam().light);
  EXPECT_EQ(color.resolve(ColorScheme::dark), GetParam().dark);
  EXPECT_EQ(&color, &GetParam().color()) << "made once and shared";
}

INSTANTIATE_TEST_SUITE_P(
    Shared, NeutralColorTest,
    testing::Values(NeutralCase{"ink", ink, channels(0x1E, 0x16, 0x22), channels(0xF5, 0xF1, 0xF4)},
                    NeutralCase{"inkSecondary", inkSecondary, channels(0x6A, 0x5F, 0x6E),
                                channels(0xB3, 0xA9, 0xB6)},
                    NeutralCase{"inkTertiary", inkTertiary, channels(0x99, 0x8F, 0x9C),
                                channels(0x9C, 0x91, 0xA3)},
                    NeutralCase{"tileFill", tileFill, channels(40, 24, 40, 0.055),
                                channels(255, 255, 255, 0.08)},
                    NeutralCase{"ringTrack", ringTrack, channels(40, 24, 40, 0.10),
                                channels(255, 255, 255, 0.12)}));

}  // namespace
}  // namespace kelpo
