#include "engine/drawing/live_frame_painter.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "engine/cairo/bitmap_surface.h"
#include "engine/drawing/cairo_handles.h"
#include "engine/drawing/device_pixels.h"
#include "engine/drawing/painter.h"
#include "engine/text/text_layout_cache.h"

namespace kelpo::ui {

namespace {

// Whether two bitmaps hold the same pixels. A picture decoded anew (its
// file rewritten, or the decoded files forgotten) is a new bitmap that may
// hold the same pixels; comparing them costs far less than drawing it again.
[[nodiscard]] bool samePicture(const std::shared_ptr<const Bitmap>& a,
                               const std::shared_ptr<const Bitmap>& b) {
  if (a == b) return true;
  if (!a || !b) return false;
  cairo_surface_t* first = BitmapAccess::surface(*a);
  cairo_surface_t* second = BitmapAccess::surface(*b);
  const int height = cairo_image_surface_get_height(first);
  const int stride = cairo_image_surface_get_stride(first);
  if (cairo_image_surface_get_format(first) != cairo_image_surface_get_format(second) ||
      cairo_image_surface_get_width(first) != cairo_image_surface_get_width(second) ||
      height != cairo_image_surface_get_height(second) ||
      stride != cairo_image_surface_get_stride(second)) {
    return false;
  }
  const unsigned char* firstPixels = cairo_image_surface_get_data(first);
  const unsigned char* secondPixels = cairo_image_surface_get_data(second);
  if (firstPixels == nullptr || secondPixels == nullptr) return firstPixels == secondPixels;
  return std::memcmp(firstPixels, secondPixels, static_cast<std::size_t>(stride) * height) == 0;
}

// Whether two nodes draw the same themselves (children aside, but for
// their number). Interaction and accessibility do not draw.
[[nodiscard]] bool drawsAlike(const LaidOutNode& a, const LaidOutNode& b) {
  return a.kind == b.kind && a.frame == b.frame && a.offset == b.offset &&
         a.rotationDegrees == b.rotationDegrees && a.shadow == b.shadow && a.opacity == b.opacity &&
         a.clip == b.clip && a.text == b.text && a.textFit == b.textFit &&
         a.symbolName == b.symbolName && a.symbolFont == b.symbolFont &&
         a.foreground == b.foreground && samePicture(a.bitmap, b.bitmap) && a.shape == b.shape &&
         a.fill == b.fill && a.strokePaint == b.strokePaint && a.strokeStyle == b.strokeStyle &&
         a.strokeInside == b.strokeInside && a.paint == b.paint &&
         a.children.size() == b.children.size();
}

[[nodiscard]] bool subtreesDrawAlike(const LaidOutNode& a, const LaidOutNode& b) {
  if (!drawsAlike(a, b)) return false;
  for (std::size_t i = 0; i < a.children.size(); ++i) {
    if (!subtreesDrawAlike(a.children[i], b.children[i])) return false;
  }
  return true;
}

[[nodiscard]] bool sameBackground(const std::optional<LaidOutNode>& a,
                                  const std::optional<LaidOutNode>& b) {
  if (!a || !b) return !a && !b;
  return subtreesDrawAlike(*a, *b);
}

// Converts rectangles in widget points, moved by the offsets of the nodes
// above them, to whole device pixels around them.
class PixelGrid {
 public:
  PixelGrid(double scale, int width, int height) : scale_(scale), width_(width), height_(height) {}

  [[nodiscard]] PixelRect whole() const { return {0, 0, width_, height_}; }

  // Nothing for a missing area; the whole widget for one that is not finite.
  [[nodiscard]] PixelRect around(const std::optional<Rect>& area, Point shift,
                                 double inflation = 0) const {
    if (!area) return {};
    const double minX = (area->minX() + shift.x - inflation) * scale_;
    const double minY = (area->minY() + shift.y - inflation) * scale_;
    const double maxX = (area->maxX() + shift.x + inflation) * scale_;
    const double maxY = (area->maxY() + shift.y + inflation) * scale_;
    if (!std::isfinite(minX) || !std::isfinite(minY) || !std::isfinite(maxX) ||
        !std::isfinite(maxY)) {
      return whole();
    }
    // One pixel more on each side: antialiasing reaches into the pixel
    // an edge lies in, and rounding must never shrink an area.
    const auto clampX = [&](double v) {
      return static_cast<int>(std::clamp(v, 0.0, 1.0 * width_));
    };
    const auto clampY = [&](double v) {
      return static_cast<int>(std::clamp(v, 0.0, 1.0 * height_));
    };
    return PixelRect::fromEdges(clampX(std::floor(minX) - 1), clampY(std::floor(minY) - 1),
                                clampX(std::ceil(maxX) + 1), clampY(std::ceil(maxY) + 1));
  }

 private:
  double scale_;
  int width_;
  int height_;
};

[[nodiscard]] Point shifted(Point shift, const LaidOutNode& node) {
  const double dx = std::isfinite(node.offset.x) ? node.offset.x : 0;
  const double dy = std::isfinite(node.offset.y) ? node.offset.y : 0;
  return {shift.x + dx, shift.y + dy};
}

// Adds to `damage` where `before` and `now` draw differently, within
// `clip` (what clipping nodes above let through). Below a rotated node
// positions are no longer simple shifts, so a rotated subtree that changed
// counts whole.
void collectDamage(const LaidOutNode& before, const LaidOutNode& now, Point shift,
                   const PixelRect& clip, const PixelGrid& grid, PixelRect& damage) {
  const bool alike = drawsAlike(before, now);
  if (alike && now.rotationDegrees == 0) {
    const Point inner = shifted(shift, now);
    // A clipped node's children draw nowhere outside its frame (the
    // node's own shadow, outside it, is taken in by widenForShadows).
    const PixelRect innerClip = now.clip ? clip.intersection(grid.around(now.frame, inner)) : clip;
    for (std::size_t i = 0; i < now.children.size(); ++i) {
      collectDamage(before.children[i], now.children[i], inner, innerClip, grid, damage);
    }
    return;
  }
  if (alike && subtreesDrawAlike(before, now)) return;
  damage.add(grid.around(drawnArea(before), shift).intersection(clip));
  damage.add(grid.around(drawnArea(now), shift).intersection(clip));
}

// A shadow is blurred from what its subtree draws inside the clip, so a
// region that cuts through a shadow's reach would blur it differently:
// whatever draws a shadow into the region makes the region take in all it
// reads. `drawn` is where the node draws, `read` what its shadow reads.
struct ShadowReach {
  PixelRect drawn;
  PixelRect read;
};

[[nodiscard]] double largestShadowReach(const LaidOutNode& node) {
  double reach = node.shadow ? shadowReach(*node.shadow) : 0;
  for (const LaidOutNode& child : node.children) reach = std::max(reach, largestShadowReach(child));
  return reach;
}

void collectShadows(const LaidOutNode& node, Point shift, const PixelGrid& grid,
                    std::vector<ShadowReach>& shadows) {
  if (node.rotationDegrees != 0) {
    // Rotated, the shadow reads along rotated axes: count twice its reach
    // around the whole subtree.
    if (const double reach = largestShadowReach(node); reach > 0) {
      const std::optional<Rect> area = drawnArea(node);
      shadows.push_back({grid.around(area, shift), grid.around(area, shift, 2 * reach)});
    }
    return;
  }
  if (node.shadow) {
    // drawnArea holds the subtree and its shadow's landing, blurred; what
    // the blur reads lies within one more point of it.
    const std::optional<Rect> area = drawnArea(node);
    shadows.push_back({grid.around(area, shift), grid.around(area, shift, 2)});
  }
  const Point inner = shifted(shift, node);
  for (const LaidOutNode& child : node.children) collectShadows(child, inner, grid, shadows);
}

void widenForShadows(const LaidOutNode& content, const PixelGrid& grid, PixelRect& damage) {
  std::vector<ShadowReach> shadows;
  collectShadows(content, {}, grid, shadows);
  // Each round either takes in one more shadow whole or ends.
  for (std::size_t round = 0; round <= shadows.size(); ++round) {
    bool widened = false;
    for (const ShadowReach& shadow : shadows) {
      if (shadow.drawn.intersects(damage) && !damage.contains(shadow.read)) {
        damage.add(shadow.read);
        widened = true;
      }
    }
    if (!widened) break;
  }
}

// What the cached background was drawn for.
struct BackgroundKey {
  PixelSize pixels;
  double scale = 0;
  Size size;
  double cornerRadius = 0;
  ColorScheme scheme = ColorScheme::light;
  std::optional<LaidOutNode> background;

  [[nodiscard]] bool fits(const LaidOutWidget& widget, PixelSize otherPixels,
                          double otherScale) const {
    return pixels == otherPixels && scale == otherScale && size == widget.size &&
           cornerRadius == widget.cornerRadius && scheme == widget.colorScheme &&
           sameBackground(background, widget.containerBackground);
  }
};

}  // namespace

struct LiveFramePainter::State {
  std::optional<BackgroundKey> key;
  SurfaceHandle background;
  std::optional<LaidOutWidget> last;  // drawn with the cached background's key
  TextLayoutCache texts;              // the last frame's

  [[nodiscard]] bool drawBackground(const LaidOutWidget& widget, PixelSize pixels, double scale) {
    background.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixels.width, pixels.height));
    if (cairo_surface_status(background.get()) != CAIRO_STATUS_SUCCESS) {
      background.reset();
      key.reset();
      return false;
    }
    {
      const CairoHandle cr(cairo_create(background.get()));
      cairo_scale(cr.get(), scale, scale);
      paintWidget(cr.get(), widget, WidgetLayers::background, texts);
    }
    cairo_surface_flush(background.get());
    key = BackgroundKey{pixels,
                        scale,
                        widget.size,
                        widget.cornerRadius,
                        widget.colorScheme,
                        widget.containerBackground};
    return true;
  }
};

LiveFramePainter::LiveFramePainter() : state_(std::make_unique<State>()) {}
LiveFramePainter::~LiveFramePainter() = default;
LiveFramePainter::LiveFramePainter(LiveFramePainter&&) noexcept = default;
LiveFramePainter& LiveFramePainter::operator=(LiveFramePainter&&) noexcept = default;

void LiveFramePainter::invalidate() {
  state_->last.reset();
}

void LiveFramePainter::releaseCaches() {
  state_->background.reset();
  state_->texts.clear();
}

PixelRect LiveFramePainter::paintFrame(cairo_t* cr, const LaidOutWidget& widget, double scale) {
  const std::optional<PixelSize> pixels = pixelSizeOf(widget.size, scale);
  if (cr == nullptr || !pixels) return {};
  const PixelGrid grid(scale, pixels->width, pixels->height);

  PixelRect damage;
  const bool backgroundFits = state_->key && state_->key->fits(widget, *pixels, scale);
  if (!backgroundFits) state_->last.reset();
  if (!backgroundFits || !state_->background) {
    if (!state_->drawBackground(widget, *pixels, scale)) return {};
  }
  if (!state_->last) {
    damage = grid.whole();
  } else {
    collectDamage(state_->last->content, widget.content, {}, grid.whole(), grid, damage);
    widenForShadows(widget.content, grid, damage);
  }
  state_->last = widget;
  if (damage.empty()) return {};

  const SavedState saved(cr);
  cairo_rectangle(cr, damage.x, damage.y, damage.width, damage.height);
  cairo_clip(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cr, state_->background.get(), 0, 0);
  cairo_paint(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  cairo_scale(cr, scale, scale);
  paintWidget(cr, widget, WidgetLayers::content, state_->texts);
  state_->texts.endFrame();
  return damage;
}

}  // namespace kelpo::ui
