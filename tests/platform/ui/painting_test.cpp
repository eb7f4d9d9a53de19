// Drawing laid-out nodes, checked by the colours of chosen pixels on tiny
// images: fills, strokes and trims, effects (rotation, opacity, shadow,
// clip), gradients, texts, symbols, bitmaps and the widget's outline.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "platform/ui/drawing/bitmap.h"
#include "platform/ui/painting_probes.h"
#include "platform/ui/text/pango_text_measurer.h"
#include "support/temporary_directory.h"

namespace kelpo::ui {
namespace {

using namespace kelpo::ui::testing;
using Points = std::vector<std::pair<int, int>>;

LaidOutNode squareStroke(bool inside) {
  LaidOutNode square;
  square.kind = LaidOutNode::Kind::shape;
  square.frame = {{10, 10}, {20, 20}};
  square.strokePaint = red;
  square.strokeStyle.lineWidth = 4;
  square.strokeInside = inside;
  return square;
}

LaidOutNode movedBy(LaidOutNode node, Point offset) {
  node.offset = offset;
  return node;
}

LaidOutNode clippedToCircle(LaidOutNode node) {
  node.clip = ShapeGeometry{ShapeGeometry::Kind::circle};
  return node;
}

LaidOutWidget outlined(LaidOutWidget widget) {
  widget.containerBackground = paintNode({{0, 0}, widget.size}, red);
  return widget;
}

// Where each drawing puts ink and where it must leave the image clear.
TEST(Painting, EachNodeInksItsOwnPixelsOnly) {
  struct Case {
    const char* name;
    LaidOutWidget widget;
    Points inked;
    Points blank;
  };
  // clang-format off
  const Case cases[] = {
      {"a fill, its frame only", widgetOf({20, 20}, paintNode({{5, 5}, {10, 10}}, red)), {{10, 10}}, {{2, 2}, {16, 16}}},
      {"an offset moves the drawing", widgetOf({20, 10}, movedBy(paintNode({{0, 0}, {10, 10}}, red), {10, 0})), {{15, 5}}, {{5, 5}}},
      {"a stroke border stays inside the frame", widgetOf({40, 40}, squareStroke(true)), {{11, 20}}, {{9, 20}}},
      {"a plain stroke straddles it", widgetOf({40, 40}, squareStroke(false)), {{9, 20}}, {}},
      {"a clip cuts children to its shape", widgetOf({40, 40}, clippedToCircle(group({{0, 0}, {40, 40}}, {paintNode({{-10, -10}, {60, 60}}, red)}))), {{20, 20}}, {{2, 2}}},
      {"outside the widget's rounded outline is clear", outlined(widgetOf({60, 60}, group({{0, 0}, {60, 60}}, {}), 20)),
       {{30, 30}, {30, 0}}, {{0, 0}, {59, 0}, {0, 59}, {59, 59}, {2, 3}}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const RasterImage image = renderToImage(c.widget, 1);
    for (const auto& [x, y] : c.inked) EXPECT_TRUE(isInked(image.pixel(x, y))) << x << "," << y;
    for (const auto& [x, y] : c.blank) EXPECT_EQ(image.pixel(x, y).alpha, 0) << x << "," << y;
  }
}

TEST(Painting, AdaptiveColorResolvesInTheWidgetsScheme) {
  LaidOutWidget widget =
      widgetOf({4, 4}, paintNode({{0, 0}, {4, 4}}, Color(Rgba{1, 0, 0, 1}, Rgba{0, 0, 1, 1})));
  EXPECT_EQ(renderToImage(widget, 1).pixel(2, 2), (Pixel{255, 0, 0, 255}));
  widget.colorScheme = ColorScheme::dark;
  EXPECT_EQ(renderToImage(widget, 1).pixel(2, 2), (Pixel{0, 0, 255, 255}));
}

// A ring of radius 20 centred in a 50 x 50 widget, probed on the middle of
// its stroke at angles clockwise from 3 o'clock.
TEST(Painting, TrimmedRingsRunClockwiseFromThreeOClockUnlessRotated) {
  struct Case {
    const char* name;
    double trimTo;
    double rotationDegrees;
    std::vector<double> inked;
    std::vector<double> blank;
  };
  for (const Case& c : {
           Case{"a quarter from 3 o'clock", 0.25, 0, {2, 45}, {180, 270, -45}},
           Case{"rotated by -90, from 12 o'clock", 0.25, -90, {-88, -45}, {45, 180}},
           Case{"an empty trim draws nothing", 0, 0, {}, {0}},
       }) {
    SCOPED_TRACE(c.name);
    LaidOutNode ring = circleStroke({{5, 5}, {40, 40}}, c.trimTo, red, 4);
    ring.rotationDegrees = c.rotationDegrees;
    const RasterImage image = renderToImage(widgetOf({50, 50}, ring), 1);
    const auto inkedAt = [&](double degrees) {
      const double angle = degrees * std::numbers::pi / 180;
      return isInked(image.pixel(static_cast<int>(std::floor(25 + 20 * std::cos(angle))),
                                 static_cast<int>(std::floor(25 + 20 * std::sin(angle)))));
    };
    for (const double degrees : c.inked) EXPECT_TRUE(inkedAt(degrees)) << degrees;
    for (const double degrees : c.blank) EXPECT_FALSE(inkedAt(degrees)) << degrees;
  }
}

TEST(Painting, OpacityHalvesAlphaOfTheGroupNotOfEachChild) {
  // Two overlapping opaque children under a half-transparent parent show
  // the top child at half alpha, not a blend of both.
  LaidOutNode parent = group({{0, 0}, {10, 10}}, {paintNode({{0, 0}, {10, 10}}, blue),
                                                  paintNode({{0, 0}, {10, 10}}, red)});
  parent.opacity = 0.5;
  const Pixel top = renderToImage(widgetOf({10, 10}, parent), 1).pixel(5, 5);
  EXPECT_EQ(top.red, 255);
  EXPECT_EQ(top.blue, 0);
  EXPECT_NEAR(top.alpha, 128, 2);
}

TEST(Painting, GradientsRunBetweenTheirPointsAndFadeToClearInTheirHue) {
  const auto middle = [](Paint gradient) {
    return renderToImage(widgetOf({100, 10}, paintNode({{0, 0}, {100, 10}}, std::move(gradient))),
                         1)
        .pixel(50, 5);
  };
  const Pixel blend =
      middle(LinearGradient{{red, blue}, UnitPoint::leading(), UnitPoint::trailing()});
  EXPECT_NEAR(blend.red, 127, 6);
  EXPECT_NEAR(blend.blue, 127, 6);
  // Fading to clear keeps the hue: half way is half-transparent red.
  const Pixel faded =
      middle(LinearGradient{{red, Color::clear()}, UnitPoint::leading(), UnitPoint::trailing()});
  EXPECT_NEAR(faded.alpha, 128, 8);
  EXPECT_GT(faded.red, 120);

  const RadialGradient radial{{white, Color::black()}, UnitPoint::center(), 0, 20};
  const RasterImage image =
      renderToImage(widgetOf({60, 60}, paintNode({{0, 0}, {60, 60}}, radial)), 1);
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
}

// A red plate cut to a rounded rectangle of radius 20.
RasterImage roundedPlate(CornerStyle style) {
  LaidOutNode plate = paintNode({{0, 0}, {80, 80}}, red);
  plate.clip = ShapeGeometry{ShapeGeometry::Kind::roundedRectangle, 20, style};
  return renderToImage(widgetOf({80, 80}, plate), 1);
}

TEST(Painting, ContinuousCornersCutOffMoreThanCircularOnes) {
  // A continuous corner starts bending earlier along each edge, most
  // visibly where the edge becomes straight.
  const RasterImage continuous = roundedPlate(CornerStyle::continuous);
  const RasterImage circular = roundedPlate(CornerStyle::circular);
  EXPECT_LT(inkedPixelCount(continuous), inkedPixelCount(circular) - 4 * 2);
  EXPECT_GT(circular.pixel(16, 0).alpha - continuous.pixel(16, 0).alpha, 40);
  EXPECT_GT(circular.pixel(0, 16).alpha - continuous.pixel(0, 16).alpha, 40);
}

class TextPainting : public ::testing::Test {
 protected:
  [[nodiscard]] LaidOutNode textNode(const std::string& text, Color color, TextStyle style = {},
                                     double width = 138) const {
    LaidOutNode node;
    node.kind = LaidOutNode::Kind::text;
    node.text = StyledText{{StyledRun{text, Font::system(12), color}}, style};
    node.textFit =
        measurer.fit(node.text, {ProposedLength::exactly(width), ProposedLength::unspecified()});
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
  EXPECT_GT(inkedPixelCount(image), 20);
  for (int x = 0; x < image.width(); ++x) {
    for (int y = 0; y < image.height(); ++y) {
      const Pixel p = image.pixel(x, y);
      if (p.alpha > 200) {
        ASSERT_EQ(p.green + p.blue, 0) << x << "," << y;
      }
    }
  }
}

TEST_F(TextPainting, TruncatedTextStaysInItsFrame) {
  TextStyle oneLine;
  oneLine.lineLimit = 1;
  const LaidOutNode node =
      textNode("Une très longue phrase qui ne tient pas", Color::black(), oneLine, 60);
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
      TextStyle style;
      style.tracking = tracking;
      style.lineLimit = lineLimit;
      const LaidOutNode node = textNode("À LIRE ENSUITE", Color::black(), style);
      LaidOutNode roomy = node;
      roomy.frame.size.width = 138;
      EXPECT_EQ(rightmostInk(renderToImage(widgetOf({150, 20}, node), 2)),
                rightmostInk(renderToImage(widgetOf({150, 20}, roomy), 2)))
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

TEST(BitmapPainting, APictureIsScaledToItsFrame) {
  const testing_support::TemporaryDirectory directory;
  const auto red3x2 = directory.path() / "red.png";
  ASSERT_TRUE(writeSolidPng(red3x2, 3, 2, Rgba{1, 0, 0, 1}));
  LaidOutNode node;
  node.kind = LaidOutNode::Kind::bitmap;
  node.bitmap = Bitmap::loadPng(red3x2);
  node.frame = {{0, 0}, {30, 20}};
  const RasterImage image = renderToImage(widgetOf({40, 20}, node), 1);
  EXPECT_EQ(image.pixel(1, 1), (Pixel{255, 0, 0, 255}));
  EXPECT_EQ(image.pixel(29, 19), (Pixel{255, 0, 0, 255}));
  EXPECT_EQ(image.pixel(35, 10).alpha, 0);
}

}  // namespace
}  // namespace kelpo::ui
