// Frames, padding, fixed size, aspect ratio, geometry readers, layered
// stacks, backgrounds and overlays: exact frames with the fake measurer
// (default font 13: a character 6.5 wide, a line 15.6 high).

#include <cairo.h>
#include <gtest/gtest.h>

#include "engine/layout_test_support.h"
#include "engine/painting_probes.h"
#include "support/temporary_directory.h"

namespace kelpo::ui {
namespace {

using testing::expectFrames;
using testing::expectLayouts;
using testing::filling;
using testing::layOut;
using testing::nodeAt;
using testing::rect;

const Paint black = Color::black();

TEST(FrameLayout, FramesPaddingReadersAndLayers) {
  const FlexibleFrame bounds{.minWidth = 40, .maxWidth = 60, .minHeight = 30};
  const View reader = GeometryReader(
      [](Size size) { return PaintView(black).frame(size.width / 2, size.height / 2); });
  const View hi = Text::verbatim("Hi");
  // clang-format off
  expectLayouts({
      {"fixed frame takes its size and centres the child", hi.frame(100, 50), {300, 300},
       {{{}, rect(0, 0, 100, 50)}, {{0}, rect(43.5, 17.2, 13, 15.6)}}},
      {"fixed width alone keeps the child height", hi.frame(100, std::nullopt, Alignment::leading()), {300, 300},
       {{{}, rect(0, 0, 100, 15.6)}, {{0}, rect(0, 0, 13, 15.6)}}},
      {"infinite maximum, top leading", hi.frame(filling(Alignment::topLeading())), {200, 100},
       {{{}, rect(0, 0, 200, 100)}, {{0}, rect(0, 0, 13, 15.6)}}},
      {"infinite maximum, bottom trailing", hi.frame(filling(Alignment::bottomTrailing())), {200, 100}, {{{0}, rect(187, 84.4, 13, 15.6)}}},
      {"shape offered 200 is held to the maximum", PaintView(black).frame(bounds), {200, 100},
       {{{}, rect(0, 0, 60, 100)}, {{0}, rect(0, 0, 60, 100)}}},
      {"padding insets the proposal", PaintView(black).padding(10), {100, 50},
       {{{}, rect(0, 0, 100, 50)}, {{0}, rect(10, 10, 80, 30)}}},
      {"padding adds to the answer", hi.padding(Edges::horizontal(), 4), {100, 50},
       {{{}, rect(0, 0, 21, 15.6)}, {{0}, rect(4, 0, 13, 15.6)}}},
      {"negative padding never answers below zero", hi.padding(-10), {100, 50},
       {{{}, rect(0, 0, 0, 0)}, {{0}, rect(-10, -10, 13, 15.6)}}},
      {"geometry reader takes the proposal, content top leading", reader, {100, 60},
       {{{}, rect(0, 0, 100, 60)}, {{0}, rect(0, 0, 50, 30)}, {{0, 0}, rect(0, 0, 50, 30)}}},
      {"geometry reader offered nothing takes nothing", reader.fixedSize(), {100, 60}, {{{0}, rect(0, 0, 0, 0)}}},
      {"z-stack is the union of its children aligned",
       ZStack(Alignment::bottomTrailing(), {PaintView(black).frame(100, 80), Text::verbatim("A")}), {300, 300},
       {{{}, rect(0, 0, 100, 80)}, {{0}, rect(0, 0, 100, 80)}, {{1}, rect(93.5, 64.4, 6.5, 15.6)}}},
      {"shapes take what is offered", fill(Circle(), black), {40, 30}, {{{}, rect(0, 0, 40, 30)}}},
      {"shapes take ten when nothing is offered", fill(Circle(), black).fixedSize(), {40, 30}, {{{0}, rect(0, 0, 10, 10)}}},
  });
  // clang-format on
}

TEST(FrameLayout, VerticalFixedSizeTakesTheLinesTheTextNeeds) {
  const std::string alphabet = "abcdefghijklmnopqrstuvwxyz";  // 169 wide: two lines in 100
  expectFrames(layOut(Text::verbatim(alphabet).fixedSize(false, true).frame(100, 20), {300, 300}),
               {{{0}, rect(1.25, -5.6, 97.5, 31.2)}});
  const LaidOutNode cut = layOut(Text::verbatim(alphabet).frame(100, 20), {300, 300});
  expectFrames(cut, {{{0}, rect(1.25, 2.2, 97.5, 15.6)}});
  EXPECT_TRUE(nodeAt(cut, {0}).textFit.truncated);
}

TEST(FrameLayout, BackgroundAndOverlayFollowTheModifiedFrame) {
  const View badge = Text::verbatim("Hello")
                         .padding(10)
                         .background(fill(RoundedRectangle(12), black))
                         .overlay(PaintView(black).frame(10, 10), Alignment::topTrailing());
  const LaidOutNode laidOut = layOut(badge, {300, 300});
  EXPECT_EQ(laidOut.name, "overlay");
  EXPECT_EQ(nodeAt(laidOut, {0}).name, "background");
  EXPECT_EQ(nodeAt(laidOut, {0, 0}).name, "RoundedRectangle");
  EXPECT_EQ(nodeAt(laidOut, {0, 1}).name, "padding");
  expectFrames(laidOut, {{{}, rect(0, 0, 52.5, 35.6)},
                         {{0, 0}, rect(0, 0, 52.5, 35.6)},
                         {{0, 1, 0}, rect(10, 10, 32.5, 15.6)},
                         {{1}, rect(42.5, 0, 10, 10)}});
}

TEST(FrameLayout, OffsetAndRotationChangeTheDrawingNotTheLayout) {
  const View row =
      HStack(VerticalAlignment::top, 0,
             {Text::verbatim("A").offset(5, -3).rotationEffect(20), Text::verbatim("B")});
  const LaidOutNode laidOut = layOut(row, {100, 100});
  expectFrames(laidOut, {{{0}, rect(0, 0, 6.5, 15.6)}, {{1}, rect(6.5, 0, 6.5, 15.6)}});
  // The rotation applies inside the offset, so it needs a node of its own.
  EXPECT_EQ(nodeAt(laidOut, {0}).name, "rotationEffect");
  EXPECT_EQ(nodeAt(laidOut, {0}).rotationDegrees, 20);
  EXPECT_EQ(nodeAt(laidOut, {0, 0}).offset, (Point{5, -3}));
}

TEST(ImageLayout, BitmapsKeepTheirPixelSizeUnlessResizableAndFitTheirAspect) {
  // Each test gets its own directory: CTest runs tests in parallel processes.
  const testing_support::TemporaryDirectory temporary;
  const auto path = temporary.path() / "200x100.png";
  ASSERT_TRUE(testing::writeSolidPng(path, 200, 100, Rgba{0, 0, 0, 0}));
  const View mascot = Image::file(path).resizable().aspectRatio(std::nullopt, ContentMode::fit);
  // clang-format off
  expectLayouts({
      {"aspect fit scales to the smaller ratio and centres", mascot.frame(90, 90), {300, 300},
       {{{}, rect(0, 0, 90, 90)}, {{0}, rect(0, 22.5, 90, 45)}, {{0, 0}, rect(0, 22.5, 90, 45)}}},
      {"aspect fit in a tall frame", mascot.frame(40, 90), {300, 300}, {{{0}, rect(0, 35, 40, 20)}}},
      {"pixel size", Image::file(path), {50, 50}, {{{}, rect(0, 0, 200, 100)}}},
      {"resizable", Image::file(path).resizable(), {50, 60}, {{{}, rect(0, 0, 50, 60)}}},
  });
  // clang-format on
}

TEST(ImageLayout, SymbolIsSizedByTheCurrentFont) {
  const View line =
      HStack(VerticalAlignment::center, 4,
             {Image::systemName("clock").font(Font::system(9.5, FontWeight::semibold)),
              Text::verbatim("demain")})
          .font(Font::system(11));
  const LaidOutNode laidOut = layOut(line, {300, 300});
  expectFrames(laidOut, {{{0}, rect(0, 1.85, 9.5, 9.5)}, {{1}, rect(13.5, 0, 33, 13.2)}});
  EXPECT_EQ(nodeAt(laidOut, {0}).symbolFont.weight, FontWeight::semibold);
}

}  // namespace
}  // namespace kelpo::ui
