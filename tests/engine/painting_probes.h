#pragma once

// Hand-made laid-out nodes and widgets for drawing tests, which check the
// colour of chosen pixels rather than whole images, and PNG files to read.

#include <cairo.h>

#include <filesystem>
#include <utility>

#include "engine/drawing/cairo_handles.h"
#include "engine/layout/layout_tree.h"
#include "engine/output/render_output.h"

namespace kelpo::ui::testing {

inline const Color red = Color(Rgba{1, 0, 0, 1});
inline const Color blue = Color(Rgba{0, 0, 1, 1});
inline const Color white = Color::white();

inline LaidOutNode paintNode(Rect frame, Paint paint) {
  LaidOutNode node;
  node.kind = LaidOutNode::Kind::paint;
  node.frame = frame;
  node.paint = std::move(paint);
  return node;
}

inline LaidOutNode circleStroke(Rect frame, double trimTo, Color color, double lineWidth) {
  LaidOutNode node;
  node.kind = LaidOutNode::Kind::shape;
  node.frame = frame;
  node.shape.kind = ShapeGeometry::Kind::circle;
  node.shape.trimTo = trimTo;
  node.strokePaint = color;
  node.strokeStyle.lineWidth = lineWidth;
  return node;
}

inline LaidOutNode group(Rect frame, std::vector<LaidOutNode> children) {
  LaidOutNode node;
  node.frame = frame;
  node.children = std::move(children);
  return node;
}

inline LaidOutWidget widgetOf(Size size, LaidOutNode content, double cornerRadius = 0) {
  LaidOutWidget widget;
  widget.size = size;
  widget.cornerRadius = cornerRadius;
  widget.content = std::move(content);
  return widget;
}

inline bool isInked(const Pixel& p) {
  return p.alpha > 128;
}

// How many pixels of `image` are inked.
inline int inkedPixelCount(const RasterImage& image) {
  int count = 0;
  for (int x = 0; x < image.width(); ++x) {
    for (int y = 0; y < image.height(); ++y) count += isInked(image.pixel(x, y)) ? 1 : 0;
  }
  return count;
}

// Writes a `width` x `height` PNG of one colour; false if it could not.
inline bool writeSolidPng(const std::filesystem::path& path, int width, int height, Rgba colour) {
  const SurfaceHandle surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
  {
    const CairoHandle cr(cairo_create(surface.get()));
    cairo_set_source_rgba(cr.get(), colour.red, colour.green, colour.blue, colour.alpha);
    cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr.get());
  }
  return cairo_surface_write_to_png(surface.get(), path.c_str()) == CAIRO_STATUS_SUCCESS;
}

// The pixel size of the PNG file at `path`, or 0 x 0 if it is not one.
inline Size pngPixelSize(const std::filesystem::path& path) {
  const SurfaceHandle png(cairo_image_surface_create_from_png(path.c_str()));
  if (cairo_surface_status(png.get()) != CAIRO_STATUS_SUCCESS) return {0, 0};
  return {static_cast<double>(cairo_image_surface_get_width(png.get())),
          static_cast<double>(cairo_image_surface_get_height(png.get()))};
}

}  // namespace kelpo::ui::testing
