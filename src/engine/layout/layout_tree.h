#pragma once

// The laid-out tree: what layout computed from a view tree, and all that the
// renderer, the tree dump, hit testing and the accessibility dump read.
// Frames are absolute, in widget points from the widget's top-left corner.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/text/text_layout.h"
#include "engine/views/color.h"
#include "engine/views/font.h"
#include "engine/views/geometry.h"
#include "engine/views/paint.h"
#include "engine/views/shadow.h"

namespace kelpo::ui {

class Bitmap;  // decoded pixels of an image file (cairo/bitmap.h)

struct AccessibilityInfo {
  bool isElement = false;  // one element that speaks for its subtree
  bool hidden = false;
  std::optional<std::string> label;
  std::optional<std::string> value;
};

struct LaidOutNode {
  enum class Kind {
    group,   // stacks, frames, paddings, modifiers: draws only its children
    text,    // `text` fitted by `textFit` in `frame`
    symbol,  // a system symbol `symbolName` drawn at `symbolFont`
    bitmap,  // `bitmap` drawn into `frame` (scaled)
    shape,   // `shape` filled and/or stroked
    paint,   // `paint` filling `frame`
  };
  Kind kind = Kind::group;
  std::string name;  // what built it: "VStack", "Text", "Spacer", "frame", "padding", ...
  Rect frame;

  // Drawing effects on this node and everything below it, applied outermost
  // first in this order: offset, rotation about the frame's centre, shadow,
  // opacity (as a group), clip to `clip` fitted to the frame.
  Point offset;
  double rotationDegrees = 0;
  std::optional<Shadow> shadow;
  double opacity = 1;
  std::optional<ShapeGeometry> clip;

  // Content, by kind.
  StyledText text;
  TextFit textFit;
  std::string symbolName;
  Font symbolFont;
  Paint foreground = Color::black();  // symbols
  std::shared_ptr<const Bitmap> bitmap;
  ShapeGeometry shape;
  std::optional<Paint> fill;
  std::optional<Paint> strokePaint;
  StrokeStyle strokeStyle;
  bool strokeInside = false;  // strokeBorder: the stroke lies inside the outline
  std::optional<Paint> paint;

  // Interaction.
  std::optional<std::string> link;  // a Link's URL
  bool hitTestable = true;
  AccessibilityInfo accessibility;

  // Drawn in order: background children, then content, then overlays, as
  // layout ordered them.
  std::vector<LaidOutNode> children;
};

// A whole widget after layout: its outline, background and content.
struct LaidOutWidget {
  Size size;                                       // the widget's outline, e.g. 170 x 170
  double cornerRadius = 0;                         // continuous corners of the outline
  std::optional<LaidOutNode> containerBackground;  // fills the whole outline
  LaidOutNode content;                             // inside the content margins
  std::optional<std::string> widgetURL;
  ColorScheme colorScheme = ColorScheme::light;
};

}  // namespace kelpo::ui
