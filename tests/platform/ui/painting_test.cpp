// Drawing laid-out nodes, checked by the colours of chosen pixels on tiny
// images: fills, strokes and trims, effects (rotation, opacity, shadow,
// clip), gradients, texts, symbols, bitmaps and the widget's outline.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <vector>

#include "platform/ui/drawing/bitmap.h"
#include "platform/ui/painting_probes.h"
#include "platform/ui/text/pango_text_measurer.h"
#include "support/temporary_directory.h"

namespace kelpo::ui {
namespace {

using namespace kelpo::ui::testing;

// A ring of radius 20 centred in a 50 x 50 widget.
constexpr Rect ringFrame{{5, 5}, {40, 40}};
constexpr Size ringWidget{50, 50};

// The pixel of the ring at `degrees` clockwise from 3 o'clock, on the
// middle of its stroke.
Pixel ringPixel(const RasterImage& image, double degrees) {
  const double angle = degrees * std::numbers::pi / 180;
  return image.pixel(static_cast<int>(std::floor(25 + 20 * std::cos(angle))),
                     static_cast<int>(std::floor(25 + 20 * std::sin(angle))));
}

TEST(Painting, ColorFillsItsFrameOnly) {
  const RasterImage image =
      renderToImage(widgetOf({20, 20}, paintNode({{5, 5}, {10, 10}}, red)), 1);
  EXPECT_EQ(image.pixel(10, 10), (Pixel{255, 0, 0, 255}));
  EXPECT_EQ(image.pixel(2, 2).alpha, 0);
  EXPECT_EQ(image.pixel(16, 16).alpha, 0);
}

TEST(Painting, AdaptiveColorResolvesInTheWidgetsScheme) {
  LaidOutWidget widget =
      widgetOf({4, 4}, paintNode({{0, 0}, {4, 4}}, Color(Rgba{1, 0, 0, 1}, Rgba{0, 0, 1, 1})));
  EXPECT_EQ(renderToImage(widget, 1).pixel(2, 2), (Pixel{255, 0, 0, 255}));
  widget.colorScheme = ColorScheme::dark;
  EXPECT_EQ(renderToImage(widget, 1).pixel(2, 2), (Pixel{0, 0, 255, 255}));
}

TEST(Painting, TrimmedRingsRunClockwiseFromThreeOClockUnlessRotated) {
  struct Case {
    const char* name;
    double trimTo;
    double rotationDegrees;
    std::vector<double> inked;  // degrees clockwise from 3 o'clock
    std::vector<double> blank;
  };
  for (const Case& c : {
           Case{"a quarter from 3 o'clock", 0.25, 0, {2, 45}, {180, 270, -45}},
           Case{"rotated by -90, from 12 o'clock", 0.25, -90, {-88, -45}, {45, 180}},
           Case{"an empty trim draws nothing", 0, 0, {}, {0}},
       }) {
    SCOPED_TRACE(c.name);
    LaidOutNode ring = circleStroke(ringFrame, c.trimTo, red, 4);
    ring.rotationDegrees = c.rotationDegrees;
    const RasterImage image = renderToImage(widgetOf(ringWidget, ring), 1);
    for (const double degrees : c.inked) EXPECT_TRUE(isInked(ringPixel(image, degrees))) << degrees;
    for (const double degrees : c.blank)
      EXPECT_FALSE(isInked(ringPixel(image, degrees))) << degrees;
  }
}

TEST(Painting, StrokeBorderStaysInsideTheFrame) {
  LaidOutNode square;
  square.kind = LaidOutNode::Kind::shape;
  square.frame = {{10, 10}, {20, 20}};
  square.strokePaint = red;
  square.strokeStyle.lineWidth = 4;
  square.strokeInside = true;
  const RasterImage inside = renderToImage(widgetOf({40, 40}, square), 1);
  EXPECT_TRUE(isInked(inside.pixel(11, 20)));
  EXPECT_EQ(inside.pixel(9, 20).alpha, 0);

  square.strokeInside = false;
  const RasterImage centred = renderToImage(widgetOf({40, 40}, square), 1);
  EXPECT_TRUE(isInked(centred.pixel(9, 20)));
}

TEST(Painting, OpacityHalvesAlphaOfTheGroupNotOfEachChild) {
  LaidOutNode fill = paintNode({{0, 0}, {10, 10}}, red);
  fill.opacity = 0.5;
  const Pixel p = renderToImage(widgetOf({10, 10}, fill), 1).pixel(5, 5);
  EXPECT_NEAR(p.alpha, 128, 2);
  EXPECT_EQ(p.red, 255);
  // Two overlapping opaque children under a half-transparent parent show
  // the top child at half alpha, not a blend of both.
  LaidOutNode parent = group({{0, 0}, {10, 10}}, {paintNode({{0, 0}, {10, 10}}, blue),
                                                  paintNode({{0, 0}, {10, 10}}, red)});
  parent.opacity = 0.5;
  const Pixel top = renderToImage(widgetOf({10, 10}, parent), 1).pixel(5, 5);
  EXPECT_EQ(top.blue, 0);
  EXPECT_NEAR(top.alpha, 128, 2);
}

TEST(Painting, OffsetMovesTheDrawing) {
  LaidOutNode fill = paintNode({{0, 0}, {10, 10}}, red);
  fill.offset = {10, 0};
  const RasterImage image = renderToImage(widgetOf({20, 10}, fill), 1);
  EXPECT_EQ(image.pixel(5, 5).alpha, 0);
  EXPECT_TRUE(isInked(image.pixel(15, 5)));
}

TEST(Painting, LinearGradientRunsFromStartToEndPointAndFadesToClearInItsHue) {
  const LinearGradient gradient{{red, blue}, UnitPoint::leading(), UnitPoint::trailing()};
  const RasterImage image =
      renderToImage(widgetOf({100, 10}, paintNode({{0, 0}, {100, 10}}, gradient)), 1);
  const Pixel left = image.pixel(0, 5);
  const Pixel right = image.pixel(99, 5);
  const Pixel middle = image.pixel(50, 5);
  EXPECT_GT(left.red, 245);
  EXPECT_LT(left.blue, 10);
  EXPECT_GT(right.blue, 245);
  EXPECT_LT(right.red, 10);
  EXPECT_NEAR(middle.red, 127, 6);
  EXPECT_NEAR(middle.blue, 127, 6);

  // Fading to clear keeps the hue: half way is half-transparent red.
  const LinearGradient fading{{red, Color::clear()}, UnitPoint::leading(), UnitPoint::trailing()};
  const Pixel faded =
      renderToImage(widgetOf({100, 10}, paintNode({{0, 0}, {100, 10}}, fading)), 1).pixel(50, 5);
  EXPECT_NEAR(faded.alpha, 128, 8);
  EXPECT_GT(faded.red, 120);
}

TEST(Painting, RadialGradientGoesFromCentreToEndRadius) {
  const RadialGradient gradient{{white, Color::black()}, UnitPoint::center(), 0, 20};
  const RasterImage image =
      renderToImage(widgetOf({60, 60}, paintNode({{0, 0}, {60, 60}}, gradient)), 1);
  EXPECT_GT(image.pixel(30, 30).red, 240);
  EXPECT_NEAR(image.pixel(40, 30).red, 128, 10);
  EXPECT_LT(image.pixel(55, 30).red, 5);  // beyond the end radius: the last colour
}

TEST(Painting, ShadowDarkensPixelsBelowTheShape) {
  LaidOutNode square = paintNode({{20, 10}, {20, 20}}, white);
  square.shadow = Shadow{Color::black().opacity(0.8), 6, 0, 6};
  LaidOutWidget widget = widgetOf({60, 60}, group({{0, 0}, {60, 60}}, {square}));
  widget.containerBackground = paintNode({{0, 0}, {60, 60}}, white);
  const RasterImage image = renderToImage(widget, 2);

  EXPECT_EQ(image.pixel(60, 40), (Pixel{255, 255, 255, 255}));  // the shape itself
  EXPECT_LT(image.pixel(60, 66).red, 200);                      // just below it
  EXPECT_LT(image.pixel(60, 66).red, image.pixel(60, 17).red);  // more below than above
  EXPECT_EQ(image.pixel(60, 115).red, 255);                     // far below
  EXPECT_EQ(image.pixel(5, 5).red, 255);
}

TEST(Painting, ClipCutsChildrenToTheShape) {
  LaidOutNode clipped = group({{0, 0}, {40, 40}}, {paintNode({{-10, -10}, {60, 60}}, red)});
  clipped.clip = ShapeGeometry{ShapeGeometry::Kind::circle};
  const RasterImage image = renderToImage(widgetOf({40, 40}, clipped), 1);
  EXPECT_TRUE(isInked(image.pixel(20, 20)));
  EXPECT_EQ(image.pixel(2, 2).alpha, 0);
}

TEST(Painting, OutsideTheWidgetsRoundedOutlineIsTransparent) {
  LaidOutWidget widget = widgetOf({60, 60}, group({{0, 0}, {60, 60}}, {}), 20);
  widget.containerBackground = paintNode({{0, 0}, {60, 60}}, red);
  const RasterImage image = renderToImage(widget, 1);
  for (const auto& [x, y] : {std::pair{0, 0}, {59, 0}, {0, 59}, {59, 59}, {2, 3}}) {
    EXPECT_EQ(image.pixel(x, y).alpha, 0) << x << "," << y;
  }
  EXPECT_EQ(image.pixel(30, 30), (Pixel{255, 0, 0, 255}));
  EXPECT_EQ(image.pixel(30, 0), (Pixel{255, 0, 0, 255}));
}

TEST(Painting, ContinuousAndCircularCornersDiffer) {
  const auto corner = [](CornerStyle style) {
    LaidOutNode plate;
    plate.kind = LaidOutNode::Kind::shape;
    plate.frame = {{0, 0}, {80, 80}};
    plate.shape = {ShapeGeometry::Kind::roundedRectangle, 20, style};
    plate.fill = red;
    return renderToImage(widgetOf({80, 80}, plate), 1);
  };
  const auto coverage = [](const RasterImage& image) {
    long sum = 0;
    for (int x = 0; x < image.width(); ++x) {
      for (int y = 0; y < image.height(); ++y) sum += image.pixel(x, y).alpha;
    }
    return sum;
  };
  // A continuous corner starts bending earlier along each edge, so it cuts
  // off more of the plate than a quarter circle of the same radius (a few
  // pixels per corner), most visibly where the edge becomes straight.
  const RasterImage continuous = corner(CornerStyle::continuous);
  const RasterImage circular = corner(CornerStyle::circular);
  EXPECT_LT(coverage(continuous), coverage(circular) - 4 * 2 * 255);
  EXPECT_GT(circular.pixel(16, 0).alpha - continuous.pixel(16, 0).alpha, 40);
  EXPECT_GT(circular.pixel(0, 16).alpha - continuous.pixel(0, 16).alpha, 40);
}

class TextPainting : public ::testing::Test {
 protected:
  LaidOutNode textNode(const std::string& text, Color color) const {
    LaidOutNode node;
    node.kind = LaidOutNode::Kind::text;
    node.text = StyledText{{StyledRun{text, Font::system(12), color}}, {}};
    node.textFit = measurer.fit(node.text, ProposedSize::unspecified());
    node.frame = {{2, 2}, node.textFit.size};
    return node;
  }
  // The right-most column holding ink, or -1.
  static int rightmostInk(const RasterImage& image) {
    for (int x = image.width() - 1; x >= 0; --x) {
      for (int y = 0; y < image.height(); ++y) {
        if (image.pixel(x, y).alpha > 64) return x;
      }
    }
    return -1;
  }
  PangoTextMeasurer measurer;
};

TEST_F(TextPainting, RunsAreDrawnInTheirForeground) {
  const RasterImage image = renderToImage(widgetOf({80, 20}, textNode("HHHH", red)), 2);
  int redInk = 0;
  for (int x = 0; x < image.width(); ++x) {
    for (int y = 0; y < image.height(); ++y) {
      const Pixel p = image.pixel(x, y);
      if (p.alpha > 200) {
        EXPECT_EQ(p.green, 0);
        redInk += p.red == 255 ? 1 : 0;
      }
    }
  }
  EXPECT_GT(redInk, 20);
}

TEST_F(TextPainting, TruncatedTextStaysInItsFrame) {
  LaidOutNode node = textNode("Une très longue phrase qui ne tient pas", Color::black());
  node.text.style.lineLimit = 1;
  node.textFit =
      measurer.fit(node.text, {ProposedLength::exactly(60), ProposedLength::unspecified()});
  node.frame = {{2, 2}, node.textFit.size};
  const RasterImage image = renderToImage(widgetOf({120, 20}, node), 1);
  EXPECT_LE(rightmostInk(image), 63);
  EXPECT_GT(rightmostInk(image), 40);
}

TEST_F(TextPainting, TextFittedToItsOwnWidthIsDrawnWhole) {
  // A tracked or wrapped text measured at a wider proposal gets a frame of
  // exactly its own width; drawing it there must give the same pixels as
  // drawing it with room to spare, not a line cut with "…".
  for (const double tracking : {0.0, 0.6}) {
    for (const int lineLimit : {1, 2}) {
      LaidOutNode node = textNode("À LIRE ENSUITE", Color::black());
      node.text.style.tracking = tracking;
      node.text.style.lineLimit = lineLimit;
      node.textFit =
          measurer.fit(node.text, {ProposedLength::exactly(138), ProposedLength::unspecified()});
      node.frame = {{2, 2}, node.textFit.size};
      LaidOutNode roomy = node;
      roomy.frame.size.width = 138;
      const RasterImage fitted = renderToImage(widgetOf({150, 20}, node), 2);
      const RasterImage spacious = renderToImage(widgetOf({150, 20}, roomy), 2);
      EXPECT_EQ(rightmostInk(fitted), rightmostInk(spacious))
          << "tracking " << tracking << ", line limit " << lineLimit;
    }
  }
}

TEST(SymbolPainting, KnownSymbolsInkTheirBoxUnknownOnesDoNot) {
  for (const std::string name : {"magnifyingglass", "clock", "checkmark", "unknown.symbol"}) {
    LaidOutNode symbol;
    symbol.kind = LaidOutNode::Kind::symbol;
    symbol.symbolName = name;
    symbol.symbolFont = Font::system(20, FontWeight::semibold);
    symbol.foreground = red;
    symbol.frame = {{0, 0}, {23, 23}};
    const int ink = inkedPixelCount(renderToImage(widgetOf({23, 23}, symbol), 2));
    if (name == "unknown.symbol") {
      EXPECT_EQ(ink, 0);
    } else {
      EXPECT_GT(ink, 100) << name;
    }
  }
}

class BitmapPainting : public ::testing::Test {
 protected:
  // Each test gets its own directory: CTest runs tests in parallel processes.
  testing_support::TemporaryDirectory temporary;
  const std::filesystem::path& directory = temporary.path();
};

TEST_F(BitmapPainting, LoadsAPngAndScalesItToItsFrame) {
  const auto red3x2 = directory / "red.png";
  ASSERT_TRUE(writeSolidPng(red3x2, 3, 2, Rgba{1, 0, 0, 1}));
  const auto bitmap = Bitmap::loadPng(red3x2);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->size(), (Size{3, 2}));
  LaidOutNode node;
  node.kind = LaidOutNode::Kind::bitmap;
  node.bitmap = bitmap;
  node.frame = {{0, 0}, {30, 20}};
  const RasterImage image = renderToImage(widgetOf({40, 20}, node), 1);
  EXPECT_EQ(image.pixel(1, 1), (Pixel{255, 0, 0, 255}));
  EXPECT_EQ(image.pixel(29, 19), (Pixel{255, 0, 0, 255}));
  EXPECT_EQ(image.pixel(35, 10).alpha, 0);
}

TEST_F(BitmapPainting, UnreadableFilesGiveNoBitmap) {
  const auto corrupt = directory / "corrupt.png";
  std::ofstream(corrupt) << "\x89PNG\r\n\x1a\n not really a picture";
  EXPECT_EQ(Bitmap::loadPng(corrupt), nullptr);
  EXPECT_EQ(Bitmap::loadPng(directory / "missing.png"), nullptr);
  EXPECT_EQ(Bitmap::loadPng(directory), nullptr);
}

}  // namespace
}  // namespace kelpo::ui
