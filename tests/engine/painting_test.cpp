// Drawing laid-out nodes, checked by the colours of chosen pixels on tiny
// images: fills, strokes and trims, effects (rotation, opacity, shadow,
// clip), gradients, texts, symbols, bitmaps and the widget's outline.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "engine/cairo/bitmap.h"
#include "engine/painting_probes.h"
#include "engine/text/pango_text_measurer.h"
#include "support/temporary_directory.h"

namespace kelpo::ui {
namespace {

using namespace kelpo::ui::testing;

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

LaidOutWidget inScheme(LaidOutWidget widget, ColorScheme scheme) {
  widget.colorScheme = scheme;
  return widget;
}

LaidOutNode halfOpaque(LaidOutNode node) {
  node.opacity = 0.5;
  return node;
}

// A colour expected at one pixel, each channel within `tolerance`.
struct Probe {
  int x;
  int y;
  Pixel colour;
  int tolerance = 0;
};

const Pixel clear{0, 0, 0, 0};
const Pixel opaqueRed{255, 0, 0, 255};

// Where each drawing puts which colour, and where it must leave the image
// clear.
TEST(Painting, EachNodeDrawsItsColoursOnItsOwnPixelsOnly) {
  const testing_support::TemporaryDirectory directory;
  const auto red3x2 = directory.path() / "red.png";
  ASSERT_TRUE(writeSolidPng(red3x2, 3, 2, Rgba{1, 0, 0, 1}));
  LaidOutNode picture;
  picture.kind = LaidOutNode::Kind::bitmap;
  picture.bitmap = Bitmap::loadPng(red3x2);
  picture.frame = {{0, 0}, {30, 20}};
  const LaidOutWidget adaptive =
      widgetOf({4, 4}, paintNode({{0, 0}, {4, 4}}, Color(Rgba{1, 0, 0, 1}, Rgba{0, 0, 1, 1})));
  // Two overlapping opaque children under a half-transparent parent show
  // the top child at half alpha, not a blend of both.
  const LaidOutNode overlapping = group({{0, 0}, {10, 10}}, {paintNode({{0, 0}, {10, 10}}, blue),
                                                             paintNode({{0, 0}, {10, 10}}, red)});
  const auto across = [](Paint gradient) {
    return widgetOf({100, 10}, paintNode({{0, 0}, {100, 10}}, std::move(gradient)));
  };
  struct Case {
    const char* name;
    LaidOutWidget widget;
    std::vector<Probe> probes;
  };
  // clang-format off
  const Case cases[] = {
      {"a fill, its frame only", widgetOf({20, 20}, paintNode({{5, 5}, {10, 10}}, red)), {{10, 10, opaqueRed}, {2, 2, clear}, {16, 16, clear}}},
      {"an offset moves the drawing", widgetOf({20, 10}, movedBy(paintNode({{0, 0}, {10, 10}}, red), {10, 0})), {{15, 5, opaqueRed}, {5, 5, clear}}},
      {"a stroke border stays inside the frame", widgetOf({40, 40}, squareStroke(true)), {{11, 20, opaqueRed}, {9, 20, clear}}},
      {"a plain stroke straddles it", widgetOf({40, 40}, squareStroke(false)), {{9, 20, opaqueRed}}},
      {"a clip cuts children to its shape", widgetOf({40, 40}, clippedToCircle(group({{0, 0}, {40, 40}}, {paintNode({{-10, -10}, {60, 60}}, red)}))), {{20, 20, opaqueRed}, {2, 2, clear}}},
      {"outside the widget's rounded outline is clear", outlined(widgetOf({60, 60}, group({{0, 0}, {60, 60}}, {}), 20)),
       {{30, 30, opaqueRed}, {30, 0, opaqueRed}, {0, 0, clear}, {59, 0, clear}, {0, 59, clear}, {59, 59, clear}, {2, 3, clear}}},
      {"an adaptive colour in the light scheme", adaptive, {{2, 2, opaqueRed}}},
      {"an adaptive colour in the dark scheme", inScheme(adaptive, ColorScheme::dark), {{2, 2, {0, 0, 255, 255}}}},
      {"opacity applies to the group", widgetOf({10, 10}, halfOpaque(overlapping)), {{5, 5, {255, 0, 0, 128}, 2}}},
      {"a gradient runs between its points", across(LinearGradient{{red, blue}, UnitPoint::leading(), UnitPoint::trailing()}), {{50, 5, {127, 0, 127, 255}, 6}}},
      {"fading to clear keeps the hue", across(LinearGradient{{red, Color::clear()}, UnitPoint::leading(), UnitPoint::trailing()}), {{50, 5, {128, 0, 0, 128}, 8}}},
      {"a radial gradient keeps its last colour beyond its end", widgetOf({60, 60}, paintNode({{0, 0}, {60, 60}}, RadialGradient{{white, Color::black()}, UnitPoint::center(), 0, 20})),
       {{30, 30, {255, 255, 255, 255}, 15}, {40, 30, {128, 128, 128, 255}, 10}, {55, 30, {0, 0, 0, 255}, 5}}},
      {"a picture is scaled to its frame", widgetOf({40, 20}, picture), {{1, 1, opaqueRed}, {29, 19, opaqueRed}, {35, 10, clear}}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const RasterImage image = renderToImage(c.widget, 1);
    for (const auto& [x, y, colour, tolerance] : c.probes) {
      const Pixel p = image.pixel(x, y);
      const auto near = [&](int got, int want) { return std::abs(got - want) <= tolerance; };
      EXPECT_TRUE(near(p.red, colour.red) && near(p.green, colour.green) &&
                  near(p.blue, colour.blue) && near(p.alpha, colour.alpha))
          << "at " << x << "," << y << ": " << +p.red << " " << +p.green << " " << +p.blue << " "
          << +p.alpha;
    }
  }
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

}  // namespace
}  // namespace kelpo::ui
