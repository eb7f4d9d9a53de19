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

// The hex form reads the digits after the first character (a user-perceived
// character, whatever its bytes) as one 32-bit number; anything else is black.
TEST(ColorLiteral, ReadsTheHexForm) {
  expectReadings({
      {"#FF7A55", channels(255, 122, 85)},
      {"#ff7a55", channels(255, 122, 85)},
      {"#80FF0000", channels(255, 0, 0)},  // top byte ignored
      {"#100000000", black},               // beyond 32 bits
      {"#GG0000", black},
      {"", black},
      {"FF7A55", channels(15, 122, 85)},  // the first character stands for "#"
      {"#+FF7A55", channels(255, 122, 85)},
      {"#FF 7A55", black},
      {"RGBA(10,20,30,0.5)", black},              // only the lower-case prefix is the rgba form
      {"e\u0301FF7A55", channels(255, 122, 85)},  // a combining mark joins the first character
      {"\U0001F1EB\U0001F1F7FF7A55", channels(255, 122, 85)},  // a flag is one character
      {"#FF7A55\u0301", black},
      {"\xFF\xFE"
       "FF7A55",
       black},
  });
}

// The rgba form splits its body at commas, drops empty pieces, trims spaces
// (Unicode ones too, but not line breaks) and reads each piece as a number.
TEST(ColorLiteral, ReadsTheRgbaForm) {
  expectReadings({
      {"rgba(255,122,85,0.14)", channels(255, 122, 85, 0.14)},
      {"rgba( 40 , 24 , 40 , 0.055 )", channels(40, 24, 40, 0.055)},
      {"rgba( \u00A0 40\u3000,24,40,0.055)", channels(40, 24, 40, 0.055)},
      {"rgba(255,,0,0,1)", channels(255, 0, 0, 1)},
      {"rgba(10,20,30,0.5,99)", channels(10, 20, 30, 0.5)},
      {"rgba(10,x,30,0.5)", channels(10, 0, 30, 0.5)},
      {"rgba(0,0,0,2)", channels(0, 0, 0, 2)},  // neither divided nor clamped
      {"rgba(510,-255,0,1)", channels(510, -255, 0, 1)},
      {"rgba(1e2,+5,0x10,.5)", channels(100, 5, 16, 0.5)},
      {"rgba(\n40,24,40,1)", channels(0, 24, 40, 1)},
      {"rgba(10,20,30)", channels(10, 20, 30, 0)},
      {"rgba", transparent},
      {"rgba(1,2,3,0.75", channels(1, 2, 3, 0.7)},             // the last character is dropped
      {"rgba(10,\u0301 20,30,0.5)", channels(0, 30, 0.5, 0)},  // a marked comma does not split
      {"rgba\u0301(1,2,3,0.5)", black},
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
