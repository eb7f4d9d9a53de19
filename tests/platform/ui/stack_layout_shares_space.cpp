// Stacks share their length out among children: least flexible first,
// spacers last, with the default spacing of 8 between neighbours.
// Fake metrics: a character is 0.5 x the font size wide, a line 1.2 x high;
// the default font is 13 points (6.5 wide, 15.6 high).

#include <gtest/gtest.h>

#include "platform/ui/layout_test_support.h"

namespace kelpo::ui {
namespace {

using testing::expectFrames;
using testing::layOut;
using testing::rect;

const Paint red = Color::black();

TEST(StackLayout, FixedFrameSpacerAndTextInAWideRow) {
  const View row = HStack(VerticalAlignment::center, std::nullopt,
                          {PaintView(red).frame(50, 20), Spacer(), Text::verbatim("Hello")});
  // Default spacing is never added beside a spacer: its minimum length is
  // the whole gap. The frame takes 50, the text 32.5, the spacer the
  // remaining 117.5.
  expectFrames(layOut(row, {200, 100}), {
                                            {{}, rect(0, 0, 200, 20)},
                                            {{0}, rect(0, 0, 50, 20)},
                                            {{1}, rect(50, 10, 117.5, 0)},
                                            {{2}, rect(167.5, 2.2, 32.5, 15.6)},
                                        });
}

TEST(StackLayout, ExplicitSpacingSeparatesSpacersToo) {
  const View row = HStack(VerticalAlignment::center, 8,
                          {PaintView(red).frame(50, 20), Spacer(), Text::verbatim("Hello")});
  // 200 - 2 x 8 spacing = 184; the frame takes 50, the text 32.5, the
  // spacer the remaining 101.5.
  expectFrames(layOut(row, {200, 100}), {
                                            {{0}, rect(0, 0, 50, 20)},
                                            {{1}, rect(58, 10, 101.5, 0)},
                                            {{2}, rect(167.5, 2.2, 32.5, 15.6)},
                                        });
}

TEST(StackLayout, SqueezedSpacerKeepsOnlyItsMinimumBetweenNeighbours) {
  const View row = HStack(VerticalAlignment::center, std::nullopt,
                          {PaintView(red).frame(50, 20), Spacer(6), Text::verbatim("Hello").lineLimit(1)});
  // Offered 60: the frame keeps 50, the spacer its 6, the text the last 4.
  expectFrames(layOut(row, {60, 100}), {
                                           {{0}, rect(0, 0, 50, 20)},
                                           {{1}, rect(50, 10, 6, 0)},
                                       });
}

TEST(StackLayout, DefaultSpacingIsEightBetweenEveryPair) {
  const View column = VStack(HorizontalAlignment::leading, std::nullopt,
                             {Text::verbatim("A"), Text::verbatim("BB"), Text::verbatim("C")});
  expectFrames(layOut(column, {100, 100}), {
                                               {{}, rect(0, 0, 13, 62.8)},
                                               {{0}, rect(0, 0, 6.5, 15.6)},
                                               {{1}, rect(0, 23.6, 13, 15.6)},
                                               {{2}, rect(0, 47.2, 6.5, 15.6)},
                                           });
}

TEST(StackLayout, SpacerTakesTheRestAndPushesTheLastChildToTheEnd) {
  const View column = VStack(HorizontalAlignment::leading, 0,
                             {Text::verbatim("A"), Spacer(6), Text::verbatim("B")});
  expectFrames(layOut(column, {100, 100}), {
                                               {{0}, rect(0, 0, 6.5, 15.6)},
                                               {{1}, rect(0, 15.6, 0, 68.8)},
                                               {{2}, rect(0, 84.4, 6.5, 15.6)},
                                           });
}

TEST(StackLayout, SpacerNeverShrinksBelowItsMinimumLength) {
  const View row = HStack(VerticalAlignment::top, 0,
                          {PaintView(red).frame(60, 10), Spacer(6), PaintView(red).frame(60, 10)});
  // 130 offered, 120 taken by the frames: the spacer still takes its 6.
  expectFrames(layOut(row, {124, 10}), {
                                           {{}, rect(0, 0, 126, 10)},
                                           {{1}, rect(60, 0, 6, 0)},
                                           {{2}, rect(66, 0, 60, 10)},
                                       });
}

TEST(StackLayout, LessFlexibleChildrenAreSizedFirst) {
  // The text (flexibility 13) is offered half of 100 before the flexible
  // paint, which then takes everything left.
  FlexibleFrame wide;
  wide.maxWidth = infinity;
  const View row =
      HStack(VerticalAlignment::top, 0, {PaintView(red).frame(wide), Text::verbatim("AB")});
  expectFrames(layOut(row, {100, 20}), {
                                           {{0}, rect(0, 0, 87, 20)},
                                           {{1}, rect(87, 0, 13, 15.6)},
                                       });
}

TEST(StackLayout, CrossAxisAlignment) {
  struct Case {
    HorizontalAlignment alignment;
    double x;
  };
  for (const Case& c :
       {Case{HorizontalAlignment::leading, 0}, Case{HorizontalAlignment::center, 19.5},
        Case{HorizontalAlignment::trailing, 39}}) {
    const View column = VStack(c.alignment, 0, {Text::verbatim("A"), Text::verbatim("ABCDEFG")});
    expectFrames(layOut(column, {100, 100}), {{{0}, rect(c.x, 0, 6.5, 15.6)}});
  }
}

TEST(StackLayout, NegativePaddingPullsTheNextChildCloser) {
  const View column = VStack(HorizontalAlignment::leading, 0,
                             {Text::verbatim("7").font(Font::system(44)).padding(Edge::bottom, -4),
                              Text::verbatim("à trier").font(Font::system(14))});
  expectFrames(layOut(column, {100, 200}), {
                                               {{}, rect(0, 0, 49, 65.6)},
                                               {{0}, rect(0, 0, 22, 48.8)},
                                               {{0, 0}, rect(0, 0, 22, 52.8)},
                                               {{1}, rect(0, 48.8, 49, 16.8)},
                                           });
}

TEST(StackLayout, GroupChildrenJoinTheStackAndEmptyViewsTakeNoSpacing) {
  const View row = HStack(
      VerticalAlignment::top, 10,
      {Group({Text::verbatim("A"), Text::verbatim("B")}), View(), Group({}), Text::verbatim("C")});
  const LaidOutNode laidOut = layOut(row, {200, 50});
  ASSERT_EQ(laidOut.children.size(), 3u);
  expectFrames(laidOut, {
                            {{}, rect(0, 0, 39.5, 15.6)},
                            {{0}, rect(0, 0, 6.5, 15.6)},
                            {{1}, rect(16.5, 0, 6.5, 15.6)},
                            {{2}, rect(33, 0, 6.5, 15.6)},
                        });
}

TEST(StackLayout, ModifiersOnAGroupApplyToEachChild) {
  const View column =
      VStack(HorizontalAlignment::leading, 0,
             {Group({Text::verbatim("A"), Text::verbatim("B")}).padding(Edge::top, 5)});
  expectFrames(layOut(column, {100, 100}), {
                                               {{0}, rect(0, 0, 6.5, 20.6)},
                                               {{1}, rect(0, 20.6, 6.5, 20.6)},
                                           });
}

TEST(StackLayout, ForEachMakesOneChildPerElement) {
  const std::vector<std::string> words{"un", "deux", "trois"};
  const View column = VStack(HorizontalAlignment::leading, 0,
                             {ForEach(
                                 words, [](const std::string& w) { return w; },
                                 [](const std::string& w) { return Text::verbatim(w); })});
  expectFrames(layOut(column, {100, 100}), {
                                               {{0}, rect(0, 0, 13, 15.6)},
                                               {{1}, rect(0, 15.6, 26, 15.6)},
                                               {{2}, rect(0, 31.2, 32.5, 15.6)},
                                           });
}

TEST(StackLayout, UnspecifiedLengthGivesEveryChildItsIdealLength) {
  const View row =
      HStack(VerticalAlignment::top, 4, {Text::verbatim("ABC"), Spacer(), Text::verbatim("D")})
          .fixedSize();
  expectFrames(layOut(row, {20, 20}), {
                                          {{0}, rect(0, 0, 42, 15.6)},
                                          {{0, 1}, rect(23.5, 0, 8, 0)},
                                          {{0, 2}, rect(35.5, 0, 6.5, 15.6)},
                                      });
}

}  // namespace
}  // namespace kelpo::ui
