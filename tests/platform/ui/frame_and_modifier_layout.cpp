// Frames, padding, fixed size, aspect ratio, geometry readers, layered
// stacks, backgrounds and overlays: exact frames with the fake measurer
// (default font 13: a character 6.5 wide, a line 15.6 high).

#include <cairo.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/ui/layout_test_support.h"

namespace kelpo::ui {
namespace {

using testing::expectFrames;
using testing::layOut;
using testing::nodeAt;
using testing::rect;

const Paint black = Color::black();

FlexibleFrame filling(Alignment alignment) {
  FlexibleFrame frame;
  frame.maxWidth = infinity;
  frame.maxHeight = infinity;
  frame.alignment = alignment;
  return frame;
}

TEST(FrameLayout, FixedFrameTakesExactlyItsSizeAndCentresTheChild) {
  expectFrames(layOut(Text::verbatim("Hi").frame(100, 50), {300, 300}),
               {{{}, rect(0, 0, 100, 50)}, {{0}, rect(43.5, 17.2, 13, 15.6)}});
}

TEST(FrameLayout, FixedWidthAloneKeepsTheChildHeight) {
  expectFrames(
      layOut(Text::verbatim("Hi").frame(100, std::nullopt, Alignment::leading()), {300, 300}),
      {{{}, rect(0, 0, 100, 15.6)}, {{0}, rect(0, 0, 13, 15.6)}});
}

TEST(FrameLayout, InfiniteMaximumTakesTheWholeProposalAndAlignsTheChild) {
  struct Case {
    Alignment alignment;
    Rect text;
  };
  for (const Case& c : {Case{Alignment::topLeading(), rect(0, 0, 13, 15.6)},
                        Case{Alignment::center(), rect(93.5, 42.2, 13, 15.6)},
                        Case{Alignment::bottomTrailing(), rect(187, 84.4, 13, 15.6)}}) {
    expectFrames(layOut(Text::verbatim("Hi").frame(filling(c.alignment)), {200, 100}),
                 {{{}, rect(0, 0, 200, 100)}, {{0}, c.text}});
  }
}

TEST(FrameLayout, FlexibleBoundsClampTheChild) {
  FlexibleFrame bounds;
  bounds.minWidth = 40;
  bounds.maxWidth = 60;
  bounds.minHeight = 30;
  // A short text grows to the minimum; a shape offered 200 is held to 60.
  expectFrames(layOut(Text::verbatim("Hi").frame(bounds), {200, 100}),
               {{{}, rect(0, 0, 60, 30)}, {{0}, rect(23.5, 7.2, 13, 15.6)}});
  expectFrames(layOut(PaintView(black).frame(bounds), {200, 100}),
               {{{}, rect(0, 0, 60, 100)}, {{0}, rect(0, 0, 60, 100)}});
}

TEST(FrameLayout, IdealSizeIsOfferedWhenTheProposalIsUnspecified) {
  FlexibleFrame bounds;
  bounds.idealWidth = 30;
  bounds.idealHeight = 20;
  expectFrames(layOut(PaintView(black).frame(bounds).fixedSize(), {200, 100}),
               {{{0}, rect(0, 0, 30, 20)}, {{0, 0}, rect(0, 0, 30, 20)}});
}

TEST(FrameLayout, PaddingInsetsTheProposalAndAddsToTheAnswer) {
  expectFrames(layOut(PaintView(black).padding(10), {100, 50}),
               {{{}, rect(0, 0, 100, 50)}, {{0}, rect(10, 10, 80, 30)}});
  expectFrames(layOut(Text::verbatim("Hi").padding(Edges::horizontal(), 4), {100, 50}),
               {{{}, rect(0, 0, 21, 15.6)}, {{0}, rect(4, 0, 13, 15.6)}});
}

TEST(FrameLayout, NegativePaddingNeverAnswersBelowZero) {
  expectFrames(layOut(Text::verbatim("Hi").padding(-10), {100, 50}),
               {{{}, rect(0, 0, 0, 0)}, {{0}, rect(-10, -10, 13, 15.6)}});
}

TEST(FrameLayout, VerticalFixedSizeTakesTheLinesTheTextNeeds) {
  const std::string alphabet = "abcdefghijklmnopqrstuvwxyz";  // 169 wide: two lines in 100
  expectFrames(layOut(Text::verbatim(alphabet).fixedSize(false, true).frame(100, 20), {300, 300}),
               {{{0}, rect(1.25, -5.6, 97.5, 31.2)}});
  const LaidOutNode cut = layOut(Text::verbatim(alphabet).frame(100, 20), {300, 300});
  expectFrames(cut, {{{0}, rect(1.25, 2.2, 97.5, 15.6)}});
  EXPECT_TRUE(nodeAt(cut, {0}).textFit.truncated);
}

TEST(FrameLayout, GeometryReaderTakesTheProposalAndPlacesContentTopLeading) {
  const View reader = GeometryReader(
      [](Size size) { return PaintView(black).frame(size.width / 2, size.height / 2); });
  expectFrames(
      layOut(reader, {100, 60}),
      {{{}, rect(0, 0, 100, 60)}, {{0}, rect(0, 0, 50, 30)}, {{0, 0}, rect(0, 0, 50, 30)}});
  // With nothing proposed it takes nothing.
  expectFrames(layOut(reader.fixedSize(), {100, 60}), {{{0}, rect(0, 0, 0, 0)}});
}

TEST(FrameLayout, ZStackIsTheUnionOfItsChildrenAligned) {
  const View layered =
      ZStack(Alignment::bottomTrailing(), {PaintView(black).frame(100, 80), Text::verbatim("A")});
  expectFrames(
      layOut(layered, {300, 300}),
      {{{}, rect(0, 0, 100, 80)}, {{0}, rect(0, 0, 100, 80)}, {{1}, rect(93.5, 64.4, 6.5, 15.6)}});
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

TEST(FrameLayout, ShapesTakeWhatIsOfferedAndTenWhenNothingIs) {
  expectFrames(layOut(fill(Circle(), black), {40, 30}), {{{}, rect(0, 0, 40, 30)}});
  expectFrames(layOut(fill(Circle(), black).fixedSize(), {40, 30}), {{{0}, rect(0, 0, 10, 10)}});
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

class BitmapFile : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = std::filesystem::temp_directory_path() /
            ("kelpo-ui-test-" + std::to_string(::getpid()) + "-200x100.png");
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 200, 100);
    ASSERT_EQ(cairo_surface_write_to_png(surface, path_.c_str()), CAIRO_STATUS_SUCCESS);
    cairo_surface_destroy(surface);
  }
  void TearDown() override { std::filesystem::remove(path_); }
  std::filesystem::path path_;
};

TEST_F(BitmapFile, AspectFitScalesToTheSmallerRatioAndCentres) {
  const View mascot = Image::file(path_).resizable().aspectRatio(std::nullopt, ContentMode::fit);
  expectFrames(
      layOut(mascot.frame(90, 90), {300, 300}),
      {{{}, rect(0, 0, 90, 90)}, {{0}, rect(0, 22.5, 90, 45)}, {{0, 0}, rect(0, 22.5, 90, 45)}});
  expectFrames(layOut(mascot.frame(40, 90), {300, 300}), {{{0}, rect(0, 35, 40, 20)}});
}

TEST_F(BitmapFile, BitmapKeepsItsPixelSizeUnlessResizable) {
  expectFrames(layOut(Image::file(path_), {50, 50}), {{{}, rect(0, 0, 200, 100)}});
  expectFrames(layOut(Image::file(path_).resizable(), {50, 60}), {{{}, rect(0, 0, 50, 60)}});
}

TEST(ImageLayout, MissingFileIsAnEmptyImageThatStillTakesItsFrame) {
  const View mascot = Image::file("/nonexistent/mascot-found.png")
                          .resizable()
                          .aspectRatio(std::nullopt, ContentMode::fit)
                          .frame(90, 90);
  const LaidOutNode laidOut = layOut(mascot, {300, 300});
  expectFrames(laidOut, {{{}, rect(0, 0, 90, 90)}});
  EXPECT_EQ(nodeAt(laidOut, {0, 0}).kind, LaidOutNode::Kind::bitmap);
  EXPECT_EQ(nodeAt(laidOut, {0, 0}).bitmap, nullptr);
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
