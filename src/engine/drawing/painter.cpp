#include "engine/drawing/painter.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <numbers>
#include <optional>
#include <span>

#include "engine/cairo/bitmap_surface.h"
#include "engine/drawing/alpha_blur.h"
#include "engine/drawing/cairo_handles.h"
#include "engine/drawing/continuous_corners.h"
#include "engine/drawing/outline_cells.h"
#include "engine/drawing/paint_source.h"
#include "engine/drawing/shape_path.h"
#include "engine/drawing/symbols.h"
#include "engine/text/pango_fonts.h"
#include "engine/text/pango_text_layout.h"
#include "engine/text/text_layout_cache.h"

namespace kelpo::ui {

namespace {

// Points added to a wrapped text's width when it is drawn (see paintText).
constexpr double wrapTolerance = 0.25;

// Offscreen shadow images are never larger than this on a side, whatever
// the subtree's size: a shadow that large is blurred anyway.
constexpr int largestShadowImageSide = 4096;
// A blur reaches this many standard deviations before it is invisible.
constexpr double blurReachInSigmas = 3;
// What a subtree may draw beyond its drawn bounds, in points: edge pixels
// touched by anti-aliasing, the last faint pixels of a blur.
constexpr double cullingMargin = 2;

struct Bounds {
  double minX = 0;
  double minY = 0;
  double maxX = 0;
  double maxY = 0;
  bool empty = true;

  void add(const Bounds& other) {
    if (other.empty) return;
    if (empty) {
      *this = other;
      return;
    }
    minX = std::min(minX, other.minX);
    minY = std::min(minY, other.minY);
    maxX = std::max(maxX, other.maxX);
    maxY = std::max(maxY, other.maxY);
  }
  [[nodiscard]] Bounds inflated(double by) const {
    return empty ? *this : Bounds{minX - by, minY - by, maxX + by, maxY + by, false};
  }
  [[nodiscard]] Bounds moved(double dx, double dy) const {
    return empty ? *this : Bounds{minX + dx, minY + dy, maxX + dx, maxY + dy, false};
  }
  [[nodiscard]] Bounds intersected(const Bounds& other) const {
    Bounds b{std::max(minX, other.minX), std::max(minY, other.minY), std::min(maxX, other.maxX),
             std::min(maxY, other.maxY), false};
    b.empty = empty || other.empty || b.minX >= b.maxX || b.minY >= b.maxY;
    return b;
  }
  static Bounds of(const Rect& r) { return {r.minX(), r.minY(), r.maxX(), r.maxY(), false}; }
};

[[nodiscard]] double shadowSigma(const Shadow& shadow) {
  return std::isfinite(shadow.radius) ? std::max(0.0, shadow.radius) * shadowSigmaPerRadius : 0;
}

// Where a node and its subtree may draw, in the coordinates its parent
// draws in: frames, strokes, shadows, moved by offsets; a rotated node
// counts the circle around its frame's corners.
[[nodiscard]] Bounds drawnBounds(const LaidOutNode& node) {
  Bounds bounds = Bounds::of(node.frame);
  if (node.kind == LaidOutNode::Kind::shape && node.strokePaint && !node.strokeInside) {
    bounds =
        bounds.inflated(node.strokeStyle.lineWidth * std::max(1.0, node.strokeStyle.miterLimit));
  }
  if (node.kind == LaidOutNode::Kind::text) bounds = bounds.inflated(node.frame.size.height);
  for (const LaidOutNode& child : node.children) bounds.add(drawnBounds(child));
  if (node.clip) bounds = bounds.intersected(Bounds::of(node.frame));
  if (node.rotationDegrees != 0 && !bounds.empty) {
    const double cx = node.frame.center().x;
    const double cy = node.frame.center().y;
    const double reach = std::hypot(std::max(cx - bounds.minX, bounds.maxX - cx),
                                    std::max(cy - bounds.minY, bounds.maxY - cy));
    bounds = {cx - reach, cy - reach, cx + reach, cy + reach, false};
  }
  if (node.shadow) {
    const Bounds shadow = bounds.moved(node.shadow->x, node.shadow->y)
                              .inflated(blurReachInSigmas * shadowSigma(*node.shadow));
    bounds.add(shadow);
  }
  return bounds.moved(node.offset.x, node.offset.y);
}

[[nodiscard]] cairo_line_cap_t cairoCap(LineCap cap) {
  switch (cap) {
    case LineCap::round:
      return CAIRO_LINE_CAP_ROUND;
    case LineCap::square:
      return CAIRO_LINE_CAP_SQUARE;
    case LineCap::butt:
      break;
  }
  return CAIRO_LINE_CAP_BUTT;
}

[[nodiscard]] cairo_line_join_t cairoJoin(LineJoin join) {
  switch (join) {
    case LineJoin::round:
      return CAIRO_LINE_JOIN_ROUND;
    case LineJoin::bevel:
      return CAIRO_LINE_JOIN_BEVEL;
    case LineJoin::miter:
      break;
  }
  return CAIRO_LINE_JOIN_MITER;
}

// Device pixels per user unit, at least one (vector surfaces count points).
[[nodiscard]] double devicePixelsPerUnit(cairo_t* cr) {
  double ux = 1;
  double uy = 0;
  double vx = 0;
  double vy = 1;
  cairo_user_to_device_distance(cr, &ux, &uy);
  cairo_user_to_device_distance(cr, &vx, &vy);
  const double scale = std::max(std::hypot(ux, uy), std::hypot(vx, vy));
  return std::isfinite(scale) ? std::max(1.0, scale) : 1.0;
}

[[nodiscard]] Bounds clipBounds(cairo_t* cr) {
  Bounds b{};
  cairo_clip_extents(cr, &b.minX, &b.minY, &b.maxX, &b.maxY);
  b.empty = b.minX >= b.maxX || b.minY >= b.maxY;
  return b;
}

class NodePainter {
 public:
  NodePainter(cairo_t* cr, ColorScheme scheme, TextLayoutCache& texts)
      : cr_(cr), scheme_(scheme), texts_(texts) {}

  // Effects apply outermost first: offset, rotation, shadow, then the
  // node's opacity and clip around its own content and children.
  void paint(const LaidOutNode& node) {
    if (!(node.opacity > 0)) return;
    // A live frame draws again only where something changed, under a clip:
    // a subtree that cannot reach the clip would cost its paths, glyphs and
    // shadows for no pixel.
    if (drawnBounds(node).inflated(cullingMargin).intersected(clipBounds(cr_)).empty) return;
    const SavedState saved(cr_);
    cairo_translate(cr_, finiteOr0(node.offset.x), finiteOr0(node.offset.y));
    if (node.rotationDegrees != 0 && std::isfinite(node.rotationDegrees)) {
      const Point centre = node.frame.center();
      cairo_translate(cr_, centre.x, centre.y);
      cairo_rotate(cr_, node.rotationDegrees * std::numbers::pi / 180);
      cairo_translate(cr_, -centre.x, -centre.y);
    }
    if (node.shadow) paintShadow(node, *node.shadow);
    paintWithOpacityAndClip(node);
  }

 private:
  static double finiteOr0(double v) { return std::isfinite(v) ? v : 0; }

  void paintWithOpacityAndClip(const LaidOutNode& node) {
    const bool translucent = node.opacity < 1;
    if (translucent) cairo_push_group(cr_);
    {
      const SavedState clipped(cr_);
      if (node.clip) {
        traceShape(cr_, *node.clip, node.frame);
        cairo_clip(cr_);
      }
      paintContent(node);
      for (const LaidOutNode& child : node.children) paint(child);
    }
    if (translucent) {
      cairo_pop_group_to_source(cr_);
      cairo_paint_with_alpha(cr_, node.opacity);
    }
  }

  void paintContent(const LaidOutNode& node) {
    switch (node.kind) {
      case LaidOutNode::Kind::group:
        return;
      case LaidOutNode::Kind::text:
        return paintText(node);
      case LaidOutNode::Kind::symbol:
        return paintSymbol(node);
      case LaidOutNode::Kind::bitmap:
        return paintBitmap(node);
      case LaidOutNode::Kind::shape:
        return paintShape(node);
      case LaidOutNode::Kind::paint:
        if (node.paint)
          fillCurrentPath(*node.paint, node.frame, [&] {
            cairo_rectangle(cr_, node.frame.origin.x, node.frame.origin.y, node.frame.size.width,
                            node.frame.size.height);
          });
        return;
    }
  }

  template <typename TracePath>
  void fillCurrentPath(const Paint& paint, const Rect& frame, TracePath trace) {
    const PatternHandle source = makePattern(paint, frame, scheme_);
    cairo_set_source(cr_, source.get());
    trace();
    cairo_fill(cr_);
  }

  // The text is laid out again as it was measured: the same runs at the
  // fitted scale, limited to the measured number of lines, then centred
  // vertically in the frame. A whole single line is drawn unwrapped; other
  // texts wrap at the frame's width (never narrower than the measured
  // width) plus a hair, because a line measured at exactly its own width
  // (trailing letter spacing, rounding to Pango units) may no longer fit it
  // and would be cut. Any width between the measured one and the one it
  // was measured at gives the same lines, so the hair changes nothing else.
  // The layout is made in points, as measuring made it, not through the
  // drawing's transform: its fonts are then those measuring already loaded
  // and shaped with (a transform would key a second set of every font and
  // fontconfig's matching and HarfBuzz's shaping all over again), and Cairo
  // still rasterises the glyphs at the device's resolution.
  void paintText(const LaidOutNode& node) {
    if (node.text.runs.empty()) return;
    const bool wholeLine = node.textFit.lineCount <= 1 && !node.textFit.truncated;
    const std::optional<double> width =
        wholeLine ? std::nullopt
                  : std::optional(std::max(node.frame.size.width, node.textFit.size.width) +
                                  wrapTolerance);
    const double scale = node.textFit.scale > 0 ? node.textFit.scale : 1;
    PangoLayout* layout =
        texts_.layoutFor(node.text, {width, scale, std::max(1, node.textFit.lineCount), scheme_});
    const Size size = logicalSize(layout);
    cairo_set_source_rgb(cr_, 0, 0, 0);
    cairo_move_to(cr_, node.frame.origin.x,
                  node.frame.origin.y + (node.frame.size.height - size.height) / 2);
    pango_cairo_show_layout(cr_, layout);
    cairo_new_path(cr_);
  }

  // A symbol keeps the size its font gives it, centred in its frame, and
  // shrinks only when the frame is smaller.
  void paintSymbol(const LaidOutNode& node) {
    const Size natural = symbolBoxSize(node.symbolFont);
    const double side = std::min({natural.width, node.frame.size.width, node.frame.size.height});
    const Point centre = node.frame.center();
    const Rect box{{centre.x - side / 2, centre.y - side / 2}, {side, side}};
    drawSymbol(cr_, node.symbolName, box, node.symbolFont, node.foreground, scheme_);
  }

  void paintBitmap(const LaidOutNode& node) {
    if (!node.bitmap) return;
    const Size pixels = node.bitmap->size();
    const Rect& frame = node.frame;
    if (!(frame.size.width > 0 && frame.size.height > 0)) return;
    const std::unique_lock drawing = BitmapAccess::lockForDrawing(*node.bitmap);
    const PatternHandle pattern(
        cairo_pattern_create_for_surface(BitmapAccess::surface(*node.bitmap)));
    cairo_matrix_t toPixels;
    cairo_matrix_init_scale(&toPixels, pixels.width / frame.size.width,
                            pixels.height / frame.size.height);
    cairo_matrix_translate(&toPixels, -frame.origin.x, -frame.origin.y);
    cairo_pattern_set_matrix(pattern.get(), &toPixels);
    cairo_pattern_set_filter(pattern.get(), CAIRO_FILTER_GOOD);
    // The edge pixels carry on up to the frame's edge instead of fading.
    cairo_pattern_set_extend(pattern.get(), CAIRO_EXTEND_PAD);
    cairo_set_source(cr_, pattern.get());
    cairo_rectangle(cr_, frame.origin.x, frame.origin.y, frame.size.width, frame.size.height);
    cairo_fill(cr_);
  }

  void paintShape(const LaidOutNode& node) {
    if (node.fill) {
      fillCurrentPath(*node.fill, node.frame, [&] { traceShape(cr_, node.shape, node.frame); });
    }
    if (node.strokePaint) strokeShape(node);
  }

  void strokeShape(const LaidOutNode& node) {
    const StrokeStyle& style = node.strokeStyle;
    if (!(style.lineWidth > 0) || !std::isfinite(style.lineWidth)) return;
    const PatternHandle source = makePattern(*node.strokePaint, node.frame, scheme_);
    traceShape(cr_, node.shape, node.frame, node.strokeInside ? style.lineWidth / 2 : 0);
    cairo_set_source(cr_, source.get());
    cairo_set_line_width(cr_, style.lineWidth);
    cairo_set_line_cap(cr_, cairoCap(style.lineCap));
    cairo_set_line_join(cr_, cairoJoin(style.lineJoin));
    cairo_set_miter_limit(cr_, std::max(1.0, style.miterLimit));
    const bool dashed = std::ranges::any_of(style.dash, [](double d) { return d > 0; }) &&
                        std::ranges::all_of(style.dash, [](double d) { return d >= 0; });
    if (dashed) {
      cairo_set_dash(cr_, style.dash.data(), static_cast<int>(style.dash.size()), style.dashPhase);
    } else {
      cairo_set_dash(cr_, nullptr, 0, 0);
    }
    cairo_stroke(cr_);
  }

  // The subtree is drawn offscreen into an alpha image at device
  // resolution, blurred, and laid beneath in the shadow's colour, moved by
  // the shadow's offset.
  void paintShadow(const LaidOutNode& node, const Shadow& shadow) {
    const Rgba color = shadow.color.resolve(scheme_);
    if (!(color.alpha > 0)) return;
    const double sigma = shadowSigma(shadow);
    const double dx = finiteOr0(shadow.x);
    const double dy = finiteOr0(shadow.y);

    LaidOutNode body = node;
    body.offset = {};
    body.rotationDegrees = 0;
    body.shadow.reset();
    const Bounds area = drawnBounds(body)
                            .inflated(shadowReach(shadow))
                            .intersected(clipBounds(cr_).moved(-dx, -dy));
    if (area.empty) return;

    const double scale =
        std::min(devicePixelsPerUnit(cr_),
                 largestShadowImageSide / std::max(area.maxX - area.minX, area.maxY - area.minY));
    const int width = static_cast<int>(std::ceil((area.maxX - area.minX) * scale));
    const int height = static_cast<int>(std::ceil((area.maxY - area.minY) * scale));
    const SurfaceHandle mask(cairo_image_surface_create(CAIRO_FORMAT_A8, width, height));
    if (cairo_surface_status(mask.get()) != CAIRO_STATUS_SUCCESS) return;
    {
      const CairoHandle offscreen(cairo_create(mask.get()));
      cairo_scale(offscreen.get(), scale, scale);
      cairo_translate(offscreen.get(), -area.minX, -area.minY);
      NodePainter(offscreen.get(), scheme_, texts_).paintWithOpacityAndClip(body);
    }
    cairo_surface_flush(mask.get());
    blurAlpha(cairo_image_surface_get_data(mask.get()), width, height,
              cairo_image_surface_get_stride(mask.get()), sigma * scale);
    cairo_surface_mark_dirty(mask.get());

    const PatternHandle pattern(cairo_pattern_create_for_surface(mask.get()));
    cairo_matrix_t toMask;
    cairo_matrix_init_scale(&toMask, scale, scale);
    cairo_matrix_translate(&toMask, -area.minX - dx, -area.minY - dy);
    cairo_pattern_set_matrix(pattern.get(), &toMask);
    cairo_pattern_set_filter(pattern.get(), CAIRO_FILTER_GOOD);
    cairo_set_source_rgba(cr_, color.red, color.green, color.blue, color.alpha);
    cairo_mask(cr_, pattern.get());
  }

  cairo_t* cr_;
  ColorScheme scheme_;

 public:
  // Fills each paint of `node` (see coversOutlineWithPaints), in order, in
  // parts: the whole pixels inside the outline as plain boxes, then in each
  // edge band the outline less those boxes. Cairo composites a curved fill
  // row by row across its whole width, so the bands keep that to the rows
  // that need it; their clips cut only straight edges along pixel
  // boundaries, which leaves every pixel's coverage as it was.
  void fillPaintsInOutline(const LaidOutNode& node, const OutlineCells& cells, const Rect& outline,
                           double cornerRadius) {
    if (node.kind == LaidOutNode::Kind::paint) {
      fillCurrentPath(*node.paint, node.frame, [&] {
        cairo_new_path(cr_);
        traceDeviceBoxes(cells.inside);
      });
      for (const PixelBox& band : cells.edgeBands) {
        const SavedState clipped(cr_);
        cairo_new_path(cr_);
        traceDeviceBoxes({&band, 1});
        cairo_clip(cr_);
        cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
        fillCurrentPath(*node.paint, node.frame, [&] {
          traceRoundedRect(cr_, outline, cornerRadius, CornerStyle::continuous);
          traceDeviceBoxes(cells.inside);
        });
      }
    }
    for (const LaidOutNode& child : node.children) {
      fillPaintsInOutline(child, cells, outline, cornerRadius);
    }
  }

 private:
  // Adds `boxes`, given in device pixels, to the current path.
  void traceDeviceBoxes(std::span<const PixelBox> boxes) {
    const SavedState saved(cr_);  // the path keeps its device coordinates
    cairo_identity_matrix(cr_);
    for (const PixelBox& box : boxes) {
      cairo_rectangle(cr_, box.x, box.y, box.width, box.height);
    }
  }

  TextLayoutCache& texts_;
};

}  // namespace

bool coversOutlineWithPaints(const LaidOutNode& node, const Rect& outline) {
  const bool plain = node.opacity >= 1 && node.offset.x == 0 && node.offset.y == 0 &&
                     node.rotationDegrees == 0 && !node.shadow && !node.clip;
  if (!plain) return false;
  switch (node.kind) {
    case LaidOutNode::Kind::paint:
      return node.paint && node.children.empty() && node.frame.minX() <= outline.minX() &&
             node.frame.minY() <= outline.minY() && node.frame.maxX() >= outline.maxX() &&
             node.frame.maxY() >= outline.maxY();
    case LaidOutNode::Kind::group:
      return !node.children.empty() && std::ranges::all_of(node.children, [&](const auto& child) {
        return coversOutlineWithPaints(child, outline);
      });
    default:
      return false;
  }
}

std::optional<Rect> drawnArea(const LaidOutNode& node) {
  const Bounds b = drawnBounds(node);
  if (b.empty) return std::nullopt;
  return Rect{{b.minX, b.minY}, {b.maxX - b.minX, b.maxY - b.minY}};
}

double shadowReach(const Shadow& shadow) {
  // As paintShadow draws it: the blur's reach and one point more.
  return blurReachInSigmas * shadowSigma(shadow) + 1;
}

void paintNode(cairo_t* cr, const LaidOutNode& node, ColorScheme scheme) {
  TextLayoutCache texts;
  NodePainter(cr, scheme, texts).paint(node);
}

namespace {

// The outline's cells in device pixels, when drawing goes to pixels through
// a transform that only scales and moves.
[[nodiscard]] std::optional<OutlineCells> deviceOutlineCells(cairo_t* cr, const Rect& outline,
                                                             double cornerRadius) {
  if (cairo_surface_get_type(cairo_get_group_target(cr)) != CAIRO_SURFACE_TYPE_IMAGE) {
    return std::nullopt;
  }
  cairo_matrix_t m;
  cairo_get_matrix(cr, &m);
  if (m.xy != 0 || m.yx != 0 || !(m.xx > 0) || !(m.yy > 0)) return std::nullopt;
  double x0 = outline.minX();
  double y0 = outline.minY();
  double x1 = outline.maxX();
  double y1 = outline.maxY();
  cairo_user_to_device(cr, &x0, &y0);
  cairo_user_to_device(cr, &x1, &y1);
  const double radius = std::clamp(std::isfinite(cornerRadius) ? cornerRadius : 0, 0.0,
                                   std::min(outline.size.width, outline.size.height) / 2);
  const double reach = continuousCornerExtent * radius * std::max(m.xx, m.yy);
  return outlineCells({{x0, y0}, {x1 - x0, y1 - y0}}, reach);
}

}  // namespace

void paintWidget(cairo_t* cr, const LaidOutWidget& widget, WidgetLayers layers) {
  TextLayoutCache texts;
  paintWidget(cr, widget, layers, texts);
}

void paintWidget(cairo_t* cr, const LaidOutWidget& widget, WidgetLayers layers,
                 TextLayoutCache& texts) {
  const SavedState saved(cr);
  const Rect outline{{0, 0}, widget.size};
  NodePainter painter(cr, widget.colorScheme, texts);
  bool backgroundDrawn = layers == WidgetLayers::content || !widget.containerBackground;
  // A background of paints over the whole outline is filled in pieces
  // rather than under the outline as a clip, which made each gradient
  // composite through a clip mask: the same pixels for a third of the cost.
  if (!backgroundDrawn && coversOutlineWithPaints(*widget.containerBackground, outline)) {
    if (const std::optional<OutlineCells> cells =
            deviceOutlineCells(cr, outline, widget.cornerRadius)) {
      painter.fillPaintsInOutline(*widget.containerBackground, *cells, outline,
                                  widget.cornerRadius);
      backgroundDrawn = true;
    }
  }
  if (backgroundDrawn && layers == WidgetLayers::background) return;
  traceRoundedRect(cr, outline, widget.cornerRadius, CornerStyle::continuous);
  cairo_clip(cr);
  if (!backgroundDrawn) painter.paint(*widget.containerBackground);
  if (layers != WidgetLayers::background) painter.paint(widget.content);
}

}  // namespace kelpo::ui
