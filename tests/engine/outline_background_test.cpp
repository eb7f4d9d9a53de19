// A background of paints over the whole outline is filled in pieces (whole
// pixels as boxes, the corner bands through the outline) instead of under
// the outline as a clip; the pieces must cover each pixel exactly once,
// and the pixels must come out as the clip gives them.

#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

#include "engine/drawing/cairo_handles.h"
#include "engine/drawing/continuous_corners.h"
#include "engine/drawing/outline_cells.h"
#include "engine/drawing/painter.h"
#include "engine/drawing/shape_path.h"
#include "painting_probes.h"

namespace kelpo::ui {
namespace {

struct CellsCase {
  const char* name;
  Rect outline;
  double reach;
};

bool inBox(const PixelBox& b, int x, int y) {
  return x >= b.x && x < b.x + b.width && y >= b.y && y < b.y + b.height;
}

// The pixel lies wholly inside the outline's rectangle and outside the
// squares where its corners bend.
bool wholeInside(const Rect& o, double reach, int x, int y) {
  const bool inRect = x >= o.minX() && x + 1 <= o.maxX() && y >= o.minY() && y + 1 <= o.maxY();
  const bool clearOfCornersX = x >= o.minX() + reach && x + 1 <= o.maxX() - reach;
  const bool clearOfCornersY = y >= o.minY() + reach && y + 1 <= o.maxY() - reach;
  return inRect && (clearOfCornersX || clearOfCornersY);
}

TEST(OutlineCells, InsideBoxesHoldOnlyWholePixelsAndBandsHoldTheRest) {
  const std::vector<CellsCase> cases = {
      {"aligned at 2x", {{0, 0}, {728, 340}}, 61.2},
      {"moved, fractional reach", {{-3, 10}, {300, 100}}, 20.4},
      {"capsule", {{0, 0}, {100, 40}}, 20},
      {"corners that meet", {{0, 0}, {100, 40}}, 19.2},
      {"square corners", {{1, 1}, {30, 20}}, 0},
      {"one pixel", {{4, 4}, {1, 1}}, 0.5},
  };
  for (const CellsCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<OutlineCells> cells = outlineCells(c.outline, c.reach);
    ASSERT_TRUE(cells);
    for (const PixelBox& band : cells->edgeBands) {
      // A band's clip may cut only straight edges: never inside a corner.
      for (const int row : {band.y, band.y + band.height}) {
        const bool inTopCorner = row > c.outline.minY() && row < c.outline.minY() + c.reach;
        const bool inBottomCorner = row > c.outline.maxY() - c.reach && row < c.outline.maxY();
        EXPECT_FALSE(inTopCorner || inBottomCorner) << "band edge at row " << row;
      }
    }
    const int x0 = static_cast<int>(std::floor(c.outline.minX())) - 2;
    const int y0 = static_cast<int>(std::floor(c.outline.minY())) - 2;
    const int x1 = static_cast<int>(std::ceil(c.outline.maxX())) + 2;
    const int y1 = static_cast<int>(std::ceil(c.outline.maxY())) + 2;
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) {
        int insideCount = 0;
        for (const PixelBox& b : cells->inside) insideCount += inBox(b, x, y) ? 1 : 0;
        int bandCount = 0;
        for (const PixelBox& b : cells->edgeBands) bandCount += inBox(b, x, y) ? 1 : 0;
        ASSERT_LE(insideCount, 1) << x << "," << y;
        ASSERT_LE(bandCount, 1) << x << "," << y;
        if (insideCount == 1) {
          ASSERT_TRUE(wholeInside(c.outline, c.reach, x, y)) << x << "," << y;
        }
        const bool touched = x + 1 > c.outline.minX() && x < c.outline.maxX() &&
                             y + 1 > c.outline.minY() && y < c.outline.maxY();
        if (touched && insideCount == 0) {
          ASSERT_EQ(bandCount, 1) << x << "," << y;
        }
      }
    }
  }
}

TEST(OutlineCells, UnusableOutlinesAreLeftToTheClip) {
  const double nan = std::nan("");
  EXPECT_FALSE(outlineCells({{0, 0}, {0, 10}}, 1));
  EXPECT_FALSE(outlineCells({{nan, 0}, {10, 10}}, 1));
  EXPECT_FALSE(outlineCells({{0, 0}, {10, 10}}, nan));
  EXPECT_FALSE(outlineCells({{0, 0}, {1e12, 10}}, 1));
  // Straight edges inside pixels would need bands along the sides too.
  EXPECT_FALSE(outlineCells({{0.5, 0}, {10, 10}}, 1));
  EXPECT_FALSE(outlineCells({{0, 0}, {10, 10.25}}, 1));
}

struct Drawing {
  SurfaceHandle surface;
  CairoHandle cr;
};

Drawing blankDrawing(Size size, double scale) {
  SurfaceHandle surface(cairo_image_surface_create(
      CAIRO_FORMAT_ARGB32, static_cast<int>(std::ceil(size.width * scale)) + 4,
      static_cast<int>(std::ceil(size.height * scale)) + 4));
  CairoHandle cr(cairo_create(surface.get()));
  cairo_translate(cr.get(), 1, 2);
  cairo_scale(cr.get(), scale, scale);
  return {std::move(surface), std::move(cr)};
}

bool samePixels(cairo_surface_t* a, cairo_surface_t* b) {
  cairo_surface_flush(a);
  cairo_surface_flush(b);
  const int stride = cairo_image_surface_get_stride(a);
  const int height = cairo_image_surface_get_height(a);
  return std::memcmp(cairo_image_surface_get_data(a), cairo_image_surface_get_data(b),
                     static_cast<std::size_t>(stride) * static_cast<std::size_t>(height)) == 0;
}

TEST(OutlineBackground, PiecesGiveThePixelsOfTheClip) {
  using testing::paintNode;
  const RadialGradient glow{
      {Color(Rgba{1, 0.7, 0.6, 0.85}), Color(Rgba{1, 0.7, 0.6, 0})}, UnitPoint::center(), 0, 90};
  struct Case {
    Size size;
    double radius;
    double scale;
  };
  for (const Case& c : std::vector<Case>{
           {{60, 40}, 10, 2}, {{61.3, 40.7}, 10, 1.5}, {{40, 40}, 20, 1}, {{30, 20}, 0, 3}}) {
    SCOPED_TRACE(c.scale);
    const Rect whole{{0, 0}, c.size};
    LaidOutWidget widget = testing::widgetOf(c.size, LaidOutNode{}, c.radius);
    widget.containerBackground = testing::group(
        whole, {paintNode(whole, testing::white), paintNode({{-5, -5}, {100, 100}}, glow)});
    ASSERT_TRUE(coversOutlineWithPaints(*widget.containerBackground, whole));

    const Drawing pieces = blankDrawing(c.size, c.scale);
    paintWidget(pieces.cr.get(), widget, WidgetLayers::background);
    const Drawing clipped = blankDrawing(c.size, c.scale);
    traceRoundedRect(clipped.cr.get(), whole, c.radius, CornerStyle::continuous);
    cairo_clip(clipped.cr.get());
    ui::paintNode(clipped.cr.get(), *widget.containerBackground, widget.colorScheme);
    EXPECT_TRUE(samePixels(pieces.surface.get(), clipped.surface.get()));
  }
}

TEST(OutlineBackground, OnlyPlainPaintsOverTheWholeOutlineQualify) {
  using testing::paintNode;
  const Rect whole{{0, 0}, {50, 30}};
  LaidOutNode faded = paintNode(whole, testing::red);
  faded.opacity = 0.5;
  LaidOutNode moved = paintNode(whole, testing::red);
  moved.offset = {1, 0};
  const LaidOutNode partial = paintNode({{0, 0}, {50, 29}}, testing::red);
  LaidOutNode shape = paintNode(whole, testing::red);
  shape.kind = LaidOutNode::Kind::shape;
  for (const LaidOutNode& node : {faded, moved, partial, shape, testing::group(whole, {})}) {
    EXPECT_FALSE(coversOutlineWithPaints(node, whole));
    EXPECT_FALSE(coversOutlineWithPaints(
        testing::group(whole, {paintNode(whole, testing::blue), node}), whole));
  }
  EXPECT_TRUE(
      coversOutlineWithPaints(testing::group(whole, {paintNode(whole, testing::blue)}), whole));
}

}  // namespace
}  // namespace kelpo::ui
