// The text form of a laid-out widget that tests and the command read.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/ui/layout_test_support.h"
#include "platform/ui/output/tree_dump.h"

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

TEST(TreeDump, MixedRunsScaleAndEffectsAreShown) {
  const View root = (Text::verbatim("Il reste ") + Text::verbatim("2 h").bold())
                        .font(Font::custom("Bricolage Grotesque", 20, FontWeight::heavy))
                        .lineLimit(1)
                        .minimumScaleFactor(0.5)
                        .frame(60, 30)
                        .offset(1, 2)
                        .rotationEffect(20)
                        .shadow(Color::black().opacity(0.45), 6, 0, 4)
                        .accessibilityLabel(Text::verbatim("reste"));
  const std::string dump = dumpOf(root);
  EXPECT_THAT(dump, HasSubstr("[\"Il reste \" \"Bricolage Grotesque\" 10 heavy"));
  EXPECT_THAT(dump, HasSubstr("[\"2 h\" \"Bricolage Grotesque\" 10 bold"));
  EXPECT_THAT(dump, HasSubstr("scale 0.5"));
  // The shadow applies outside the rotation, so it gets a node of its own.
  EXPECT_THAT(
      dump,
      HasSubstr("shadow (55, 70, 60 × 30) shadow rgba(0, 0, 0, 0.45) radius 6 (0, 4) "
                "a11y[label \"reste\"]\n    rotationEffect (55, 70, 60 × 30) rotation 20°\n"));
  EXPECT_THAT(dump, HasSubstr("offset (1, 2)"));
}

TEST(TreeDump, ShapesShowTrimAndStroke) {
  StrokeStyle style;
  style.lineWidth = 7.6;
  style.lineCap = LineCap::round;
  const std::string dump =
      dumpOf(stroke(trim(Circle(), 0, 0.45), Color::black(), style).frame(76, 76));
  EXPECT_THAT(
      dump,
      HasSubstr("Circle (47, 47, 76 × 76) circle trim 0…0.45 stroke #000000 width 7.6 cap round"));
}

}  // namespace
}  // namespace kelpo::ui
