#include <gtest/gtest.h>

#include <string>

#include "rgba_printing.h"
#include "style/color_literal.h"

namespace kelpo {
namespace {

using ui::channels;
using ui::Rgba;

struct LiteralCase {
  const char* name;
  std::string literal;
  Rgba expected;
};

void PrintTo(const LiteralCase& c, std::ostream* out) {
  *out << c.name;
}

class ColorLiteralTest : public testing::TestWithParam<LiteralCase> {};

TEST_P(ColorLiteralTest, ReadsTheExpectedColor) {
  EXPECT_EQ(parseColorLiteral(GetParam().literal), GetParam().expected);
}

const Rgba kBlack{0, 0, 0, 1};
const Rgba kTransparent{0, 0, 0, 0};

INSTANTIATE_TEST_SUITE_P(
    HexForm, ColorLiteralTest,
    testing::Values(
        LiteralCase{"plain", "#FF7A55", channels(255, 122, 85)},
        LiteralCase{"lowerCase", "#ff7a55", channels(255, 122, 85)},
        LiteralCase{"topByteIgnored", "#80FF0000", channels(255, 0, 0)},
        LiteralCase{"allBitsSet", "#FFFFFFFF", channels(255, 255, 255)},
        LiteralCase{"leadingZerosAllowed", "#0000000000FF", channels(0, 0, 255)},
        LiteralCase{"beyond32Bits", "#100000000", kBlack}, LiteralCase{"notHex", "#GG0000", kBlack},
        LiteralCase{"loneNumberSign", "#", kBlack}, LiteralCase{"empty", "", kBlack},
        LiteralCase{"missingNumberSignLosesFirstDigit", "FF7A55", channels(15, 122, 85)},
        LiteralCase{"plusSign", "#+FF7A55", channels(255, 122, 85)},
        LiteralCase{"twoPlusSigns", "#++FF7A55", kBlack}, LiteralCase{"plusAlone", "#+", kBlack},
        LiteralCase{"minusAlone", "#-", kBlack}, LiteralCase{"minusZero", "#-000", kBlack},
        LiteralCase{"minusNonZero", "#-1", kBlack}, LiteralCase{"innerSpace", "#FF 7A55", kBlack},
        LiteralCase{"upperCaseRgbaIsHex", "RGBA(10,20,30,0.5)", kBlack},
        LiteralCase{"accentedFirstCharacter", "\u00E9FF7A55", channels(255, 122, 85)},
        LiteralCase{"combiningMarkJoinsFirstCharacter", "e\u0301FF7A55", channels(255, 122, 85)},
        LiteralCase{"flagIsOneCharacter", "\U0001F1EB\U0001F1F7FF7A55", channels(255, 122, 85)},
        LiteralCase{"crLfIsOneCharacter", "\r\nFF7A55", channels(255, 122, 85)},
        LiteralCase{"combiningMarkOnDigit", "#FF7A55\u0301", kBlack},
        LiteralCase{"invalidUtf8",
                    "\xFF\xFE"
                    "FF7A55",
                    kBlack},
        LiteralCase{"truncatedUtf8", "#\xC3", kBlack}));

INSTANTIATE_TEST_SUITE_P(
    RgbaForm, ColorLiteralTest,
    testing::Values(
        LiteralCase{"plain", "rgba(255,122,85,0.14)", channels(255, 122, 85, 0.14)},
        LiteralCase{"spacesAroundNumbers", "rgba( 40 , 24 , 40 , 0.055 )",
                    channels(40, 24, 40, 0.055)},
        LiteralCase{"tabsAroundNumbers", "rgba(\t40\t,24,40,0.055)", channels(40, 24, 40, 0.055)},
        LiteralCase{"unicodeSpacesTrimmed", "rgba( \u00A0 40\u3000,24,40,0.055)",
                    channels(40, 24, 40, 0.055)},
        LiteralCase{"emptyPieceDropped", "rgba(255,,0,0,1)", channels(255, 0, 0, 1)},
        LiteralCase{"commasAtBothEnds", "rgba(,255,0,0,1,)", channels(255, 0, 0, 1)},
        LiteralCase{"fifthNumberIgnored", "rgba(10,20,30,0.5,99)", channels(10, 20, 30, 0.5)},
        LiteralCase{"notANumberIsZero", "rgba(10,x,30,0.5)", channels(10, 0, 30, 0.5)},
        LiteralCase{"leftoverAfterNumber", "rgba(10px,20,30,0.5)", channels(0, 20, 30, 0.5)},
        LiteralCase{"unreadableAlphaIsTransparent", "rgba(10,20,30,half)", channels(10, 20, 30, 0)},
        LiteralCase{"alphaNotDivided", "rgba(0,0,0,2)", channels(0, 0, 0, 2)},
        LiteralCase{"notClamped", "rgba(510,-255,0,1)", channels(510, -255, 0, 1)},
        LiteralCase{"strtodForms", "rgba(1e2,+5,0x10,.5)", channels(100, 5, 16, 0.5)},
        LiteralCase{"leadingLineBreak", "rgba(\n40,24,40,1)", channels(0, 24, 40, 1)},
        LiteralCase{"leadingCarriageReturn", "rgba(\r40,24,40,1)", channels(0, 24, 40, 1)},
        LiteralCase{"leadingVerticalTab", "rgba(\v40,24,40,1)", channels(0, 24, 40, 1)},
        LiteralCase{"leadingFormFeed", "rgba(\f40,24,40,1)", channels(0, 24, 40, 1)},
        LiteralCase{"trailingLineBreakIsLeftover", "rgba(40\n,24,40,1)", channels(0, 24, 40, 1)},
        LiteralCase{"embeddedNul", std::string("rgba(40\0,24,40,1)", 17), channels(0, 24, 40, 1)},
        LiteralCase{"fewerThanFourNumbers", "rgba(10,20,30)", channels(10, 20, 30, 0)},
        LiteralCase{"openingOnly", "rgba(", kTransparent},
        LiteralCase{"prefixOnly", "rgba", kTransparent},
        LiteralCase{"emptyBody", "rgba()", kTransparent},
        LiteralCase{"missingClosingParenthesisLosesLastCharacter", "rgba(1,2,3,0.75",
                    channels(1, 2, 3, 0.7)},
        LiteralCase{"combiningMarkOnClosingParenthesis", "rgba(1,2,3,0.5)\u0301",
                    channels(1, 2, 3, 0.5)},
        LiteralCase{"combiningMarkOnOpeningParenthesis", "rgba(\u03011,2,3,0.5)",
                    channels(1, 2, 3, 0.5)},
        LiteralCase{"commaCarryingMarkDoesNotSplit", "rgba(10,\u0301 20,30,0.5)",
                    channels(0, 30, 0.5, 0)},
        LiteralCase{"markedPrefixIsHex", "rgba\u0301(1,2,3,0.5)", kBlack},
        LiteralCase{"invalidUtf8Piece", "rgba(10,\xFF,30,0.5)", channels(10, 0, 30, 0.5)}));

TEST(ColorLiteral, ReadsVeryLongLiteralsWithoutFailing) {
  std::string manyNumbers = "rgba(";
  for (int i = 0; i < 100000; ++i) manyNumbers += "1,";
  manyNumbers += ")";
  EXPECT_EQ(parseColorLiteral(manyNumbers), channels(1, 1, 1, 1));

  std::string accentedTail = "rgba(1,2,3,0.5,";
  for (int i = 0; i < 100000; ++i) accentedTail += "\u00E9";
  accentedTail += ")";
  EXPECT_EQ(parseColorLiteral(accentedTail), channels(1, 2, 3, 0.5));

  EXPECT_EQ(parseColorLiteral("#" + std::string(100000, 'F')), kBlack);
  EXPECT_EQ(parseColorLiteral("#" + std::string(100000, '0') + "FF"), channels(0, 0, 255));
}

TEST(ColorLiteral, NeverFailsOnArbitraryBytes) {
  // Byte pairs of every kind (ASCII, lead and continuation bytes, stray
  // bytes) in both forms; the sanitizer build checks the slicing.
  for (int first = 0; first < 256; ++first) {
    for (int second = 0; second < 256; second += 7) {
      const std::string bytes{static_cast<char>(first), static_cast<char>(second)};
      EXPECT_EQ(parseColorLiteral(bytes).alpha, 1);
      const Rgba rgba = parseColorLiteral("rgba(1,2," + bytes + ",0.5)");
      EXPECT_EQ(rgba.red, 1.0 / 255) << "bytes " << first << " " << second;
    }
  }
}

}  // namespace
}  // namespace kelpo
