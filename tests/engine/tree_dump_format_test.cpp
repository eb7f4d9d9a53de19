// The text form of a laid-out widget that tests and the command read: a
// stable format, with the snapshot's text quoted as it is, never read as
// markup.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/layout_test_support.h"
#include "engine/output/tree_dump.h"

namespace kelpo::ui {
namespace {

using ::testing::HasSubstr;

std::string dumpOf(const View& root, ColorScheme scheme = ColorScheme::light) {
  Environment environment = testing::testEnvironment();
  environment.colorScheme = scheme;
  return dumpTree(testing::layOutWidget(root, environment));
}

TEST(TreeDump, NumbersHaveAtMostTwoDecimalsColoursAreHexWhenOpaqueElseRgba) {
  EXPECT_EQ(formatLength(12), "12");
  EXPECT_EQ(formatLength(12.5), "12.5");
  EXPECT_EQ(formatLength(1.0 / 3), "0.33");
  EXPECT_EQ(formatLength(-0.001), "0");
  EXPECT_EQ(formatLength(infinity), "inf");
  EXPECT_EQ(formatColor({1, 0.5, 0, 1}), "#FF8000");
  EXPECT_EQ(formatColor({40 / 255.0, 24 / 255.0, 40 / 255.0, 0.055}), "rgba(40, 24, 40, 0.06)");
}

TEST(TreeDump, WholeWidgetReadsAsIndentedLines) {
  const Color adaptive(Rgba{0x1E / 255.0, 0x16 / 255.0, 0x22 / 255.0, 1}, Rgba{1, 1, 1, 1});
  const View root =
      VStack(HorizontalAlignment::leading, 0,
             {Text::verbatim("<b>&amp;</b>")
                  .font(Font::system(10, FontWeight::bold))
                  .foregroundStyle(adaptive),
              Link("kelpo://topic/X",
                   fill(RoundedRectangle(7), Color::black()).frame(20, 20).opacity(0.5))})
          .widgetURL("kelpo://inbox");
  EXPECT_EQ(dumpOf(root),
            "widget 170 × 170 corner 20 light url \"kelpo://inbox\"\n"
            "content\n"
            "  VStack (55, 69, 60 × 32)\n"
            "    Text (55, 69, 60 × 12) \"<b>&amp;</b>\" system 10 bold #1E1622\n"
            "    Link (55, 81, 20 × 20) link \"kelpo://topic/X\"\n"
            "      frame (55, 81, 20 × 20) opacity 0.5\n"
            "        RoundedRectangle (55, 81, 20 × 20) roundedRectangle radius 7 continuous fill "
            "#000000\n");
  EXPECT_THAT(dumpOf(root, ColorScheme::dark), HasSubstr("system 10 bold #FFFFFF"));
}

}  // namespace
}  // namespace kelpo::ui
