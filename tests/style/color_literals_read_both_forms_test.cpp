#include <gtest/gtest.h>

#include <string>

#include "style/color_literal.h"
#include "support/colors.h"

namespace kelpo {
namespace {

using testing_support::channels;
using ui::Rgba;

struct LiteralCase {
  std::string literal;
  Rgba expected;
};

const Rgba black{0, 0, 0, 1};
const Rgba transparent{0, 0, 0, 0};

void expectReadings(const std::vector<LiteralCase>& table) {
  for (const auto& [literal, expected] : table) {
    SCOPED_TRACE(testing::PrintToString(literal));
    EXPECT_EQ(parseColorLiteral(literal), expected);
  }
}

// What the header promises, for the two forms the widget's palette is
// written in, and the reading rules behind them: the hex form reads what
// follows the first character (one grapheme, whatever its bytes) as one
// 32-bit number; the rgba form drops the last character and splits at
// commas that carry no combining mark. Literals come only from the palette,
// never from a file, so one row stands for each rule.
TEST(ColorLiteral, ReadsTheHexAndRgbaForms) {
  expectReadings({
      {"#FF7A55", channels(255, 122, 85)},
      {"#ff7a55", channels(255, 122, 85)},
      {"#GG0000", black},  // not a number: opaque black
      {"", black},
      {"FF7A55", channels(15, 122, 85)},          // the first character stands for "#"
      {"e\u0301FF7A55", channels(255, 122, 85)},  // one grapheme, two code points
      {"#80FF0000", channels(255, 0, 0)},         // 32 bits, the top byte ignored
      {"#100000000", black},                      // beyond 32 bits
      {"rgba(255,122,85,0.14)", channels(255, 122, 85, 0.14)},
      {"rgba( 40 , 24 , 40 , 0.055 )", channels(40, 24, 40, 0.055)},
      {"rgba(10,x,30,0.5)", channels(10, 0, 30, 0.5)},    // not a number: a zero component
      {"rgba(510,-255,0,2)", channels(510, -255, 0, 2)},  // neither divided nor clamped
      {"rgba(10,20,30)", channels(10, 20, 30, 0)},        // a missing alpha is 0
      {"rgba", transparent},
      {"rgba(1,2,3,0.75", channels(1, 2, 3, 0.7)},
      {"rgba(10,\u0301 20,30,0.5)", channels(0, 30, 0.5, 0)},
  });
}

// An adaptive colour is two literals, one for each scheme.
TEST(AdaptiveColor, DrawsEachVariantInItsSchemeAlsoUnderOpacity) {
  const ui::Color color = adaptiveColor("#FF7A55", "rgba(255,122,85,0.14)");
  EXPECT_EQ(color.resolve(ui::ColorScheme::light), channels(255, 122, 85));
  EXPECT_EQ(color.resolve(ui::ColorScheme::dark), channels(255, 122, 85, 0.14));

  const ui::Color faded = adaptiveColor("#FFFFFF", "rgba(0,0,0,0.5)").opacity(0.5);
  EXPECT_EQ(faded.resolve(ui::ColorScheme::light), channels(255, 255, 255, 0.5));
  EXPECT_EQ(faded.resolve(ui::ColorScheme::dark), channels(0, 0, 0, 0.25));

  const ui::Color fixed = fixedColor("#5A3900");
  EXPECT_EQ(fixed.resolve(ui::ColorScheme::light), channels(0x5A, 0x39, 0x00));
  EXPECT_EQ(fixed.resolve(ui::ColorScheme::dark), channels(0x5A, 0x39, 0x00));
}

}  // namespace
}  // namespace kelpo
