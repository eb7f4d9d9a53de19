// The widget around the root view: size by family, content margins,
// container background, widget link.

#include <gtest/gtest.h>

#include "engine/layout_test_support.h"

namespace kelpo::ui {
namespace {

using testing::expectFrames;
using testing::filling;
using testing::rect;

LaidOutWidget layOutWidget(const View& root, Size outline = testing::smallOutline) {
  return testing::layOutWidget(root, testing::testEnvironment(outline));
}

TEST(WidgetLayout, RootIsOfferedTheInsideOfTheMarginsAndASmallerOneIsCentred) {
  const LaidOutWidget widget =
      layOutWidget(VStack(HorizontalAlignment::leading, 0, {Text::verbatim("3")}).frame(filling()));
  EXPECT_EQ(widget.size, (Size{170, 170}));
  expectFrames(widget.content, {{{}, rect(16, 16, 138, 138)}, {{0}, rect(16, 16, 6.5, 15.6)}});
  expectFrames(layOutWidget(Text::verbatim("Hello")).content,
               {{{}, rect(68.75, 77.2, 32.5, 15.6)}});
}

TEST(WidgetLayout, ContainerBackgroundFillsTheOutlineAndUrlIsKept) {
  const View root =
      Group({Text::verbatim("Hello").frame(filling())})
          .containerBackground(ZStack(Alignment::center(), {PaintView(Color::white())}))
          .widgetURL("kelpo://inbox");
  const LaidOutWidget widget = layOutWidget(root, testing::mediumOutline);
  ASSERT_TRUE(widget.containerBackground);
  expectFrames(*widget.containerBackground,
               {{{}, rect(0, 0, 364, 170)}, {{0}, rect(0, 0, 364, 170)}});
  expectFrames(widget.content, {{{}, rect(16, 16, 332, 138)}});
  EXPECT_EQ(widget.widgetURL, "kelpo://inbox");
}

}  // namespace
}  // namespace kelpo::ui
