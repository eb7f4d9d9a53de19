// Frames drawn one after another by a live painter, into a surface that
// keeps its pixels, equal frames drawn from scratch; the damage it reports
// covers what changed and no more than it must.

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "engine/cairo/bitmap.h"
#include "engine/drawing/cairo_handles.h"
#include "engine/drawing/live_frame_painter.h"
#include "engine/drawing/painter.h"
#include "engine/painting_probes.h"
#include "support/temporary_directory.h"

namespace kelpo::ui {
namespace {

using testing::blue;
using testing::paintNode;
using testing::red;
using testing::white;

constexpr Size widgetSize{120, 60};
constexpr double scale = 2;

// A glowing background, a fixed plate with a shadow, and a badge (clipped,
// shadowed) whose slanted band sits `sweep` points to the right.
LaidOutWidget frameWith(double sweep, ColorScheme scheme = ColorScheme::light) {
  LaidOutNode background = testing::group({{0, 0}, widgetSize}, {});
  background.children.push_back(paintNode({{0, 0}, widgetSize}, white));
  background.children.push_back(paintNode(
      {{0, 0}, widgetSize}, RadialGradient{{blue.opacity(0.8), Color::clear()}, {0, 0}, 0, 900}));

  LaidOutNode plate = paintNode({{8, 8}, {30, 30}}, red);
  plate.shadow = Shadow{blue.opacity(0.5), 6, 0, 4};

  LaidOutNode band =
      paintNode({{60, 5}, {8, 30}}, LinearGradient{{Color::clear(), white, Color::clear()},
                                                   UnitPoint::leading(),
                                                   UnitPoint::trailing()});
  band.rotationDegrees = 20;
  band.offset = {sweep, 0};
  LaidOutNode badge =
      testing::group({{60, 10}, {22, 22}}, {paintNode({{60, 10}, {22, 22}}, red), band});
  badge.clip = ShapeGeometry{ShapeGeometry::Kind::roundedRectangle, 7};
  badge.shadow = Shadow{red.opacity(0.45), 6, 0, 4};

  LaidOutWidget widget =
      testing::widgetOf(widgetSize, testing::group({{0, 0}, widgetSize}, {plate, badge}), 12);
  widget.containerBackground = background;
  widget.colorScheme = scheme;
  return widget;
}

// The frame drawn whole into a new, clear surface.
SurfaceHandle drawnFromScratch(const LaidOutWidget& widget) {
  SurfaceHandle surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 240, 120));
  const CairoHandle cr(cairo_create(surface.get()));
  cairo_scale(cr.get(), scale, scale);
  paintWidget(cr.get(), widget);
  cairo_surface_flush(surface.get());
  return surface;
}

bool samePixels(cairo_surface_t* a, cairo_surface_t* b) {
  cairo_surface_flush(a);
  const int bytes = cairo_image_surface_get_stride(a) * cairo_image_surface_get_height(a);
  return std::memcmp(cairo_image_surface_get_data(a), cairo_image_surface_get_data(b),
                     static_cast<std::size_t>(bytes)) == 0;
}

TEST(LiveFramePainting, EveryFrameEqualsOneDrawnFromScratch) {
  const SurfaceHandle window(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 240, 120));
  const CairoHandle cr(cairo_create(window.get()));
  LiveFramePainter painter;
  struct Step {
    const char* name;
    LaidOutWidget widget;
    bool whole;                       // the whole widget is drawn again
    bool backgroundReleased = false;  // the painter let its background go first
  };
  for (const Step& step :
       {Step{"first frame", frameWith(-40), true}, Step{"band moves in", frameWith(-10), false},
        Step{"band crosses", frameWith(3.5), false}, Step{"nothing moves", frameWith(3.5), false},
        Step{"dark appearance", frameWith(3.5, ColorScheme::dark), true},
        Step{"band moves on", frameWith(30, ColorScheme::dark), false},
        Step{"after a still spell", frameWith(50, ColorScheme::dark), false, true},
        Step{"light again, still", frameWith(50), true, true}}) {
    SCOPED_TRACE(step.name);
    if (step.backgroundReleased) painter.releaseCaches();
    const PixelRect damage = painter.paintFrame(cr.get(), step.widget, scale);
    EXPECT_TRUE(samePixels(window.get(), drawnFromScratch(step.widget).get()));
    EXPECT_EQ(damage == (PixelRect{0, 0, 240, 120}), step.whole);
  }
}

TEST(LiveFramePainting, DamageCoversTheChangeAndTheShadowsItCrosses) {
  const SurfaceHandle window(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 240, 120));
  const CairoHandle cr(cairo_create(window.get()));
  LiveFramePainter painter;
  (void)painter.paintFrame(cr.get(), frameWith(5), scale);
  EXPECT_TRUE(painter.paintFrame(cr.get(), frameWith(5), scale).empty());

  const PixelRect damage = painter.paintFrame(cr.get(), frameWith(10), scale);
  // The badge's shadow (landing 4 points down, blurred about 10 points
  // around) is taken in whole; the plate, far to the left, is not.
  EXPECT_LE(damage.x, (60 - 10) * 2);
  EXPECT_GE(damage.x + damage.width, (82 + 10) * 2);
  EXPECT_GT(damage.x, 38 * 2);

  painter.invalidate();
  EXPECT_EQ(painter.paintFrame(cr.get(), frameWith(0), scale), (PixelRect{0, 0, 240, 120}));
  EXPECT_TRUE(painter.paintFrame(cr.get(), frameWith(0), 0).empty()) << "an unusable scale";
}

TEST(LiveFramePainting, APictureReplacedOnDiskIsDrawnAnew) {
  const testing_support::TemporaryDirectory directory;
  const std::filesystem::path file = directory.path() / "mascot.png";
  const auto frameShowing = [&] {
    LaidOutWidget widget = frameWith(0);
    LaidOutNode picture;
    picture.kind = LaidOutNode::Kind::bitmap;
    picture.frame = {{90, 20}, {20, 20}};
    picture.bitmap = Bitmap::loadPng(file);
    widget.content.children.push_back(picture);
    return widget;
  };
  const SurfaceHandle window(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 240, 120));
  const CairoHandle cr(cairo_create(window.get()));
  LiveFramePainter painter;
  ASSERT_TRUE(testing::writeSolidPng(file, 8, 8, {1, 0, 0, 1}));
  (void)painter.paintFrame(cr.get(), frameShowing(), scale);
  EXPECT_TRUE(painter.paintFrame(cr.get(), frameShowing(), scale).empty())
      << "the same pixels decoded again";
  ASSERT_TRUE(testing::writeSolidPng(file, 8, 8, {0, 0, 1, 1}));
  const LaidOutWidget replaced = frameShowing();
  EXPECT_FALSE(painter.paintFrame(cr.get(), replaced, scale).empty());
  EXPECT_TRUE(samePixels(window.get(), drawnFromScratch(replaced).get()));
}

}  // namespace
}  // namespace kelpo::ui
