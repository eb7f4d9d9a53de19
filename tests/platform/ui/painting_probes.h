#pragma once

// Hand-made laid-out nodes and widgets for drawing tests, which check the
// colour of chosen pixels rather than whole images.

#include <utility>

#include "platform/ui/layout_tree.h"
#include "platform/ui/render_output.h"

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

}  // namespace kelpo::ui::testing
