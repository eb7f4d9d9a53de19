#include "engine/output/hit_testing.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kelpo::ui {

namespace {

struct Hit {
  bool hit = false;
  std::optional<std::string> link;
};

// `location` in the space the node's own frame is drawn in, undoing its
// offset and its rotation about the frame's centre.
Point intoNode(const LaidOutNode& node, Point location) {
  Point p{location.x - node.offset.x, location.y - node.offset.y};
  if (node.rotationDegrees != 0) {
    const double radians = -node.rotationDegrees * std::numbers::pi / 180;
    const Point c = node.frame.center();
    const double dx = p.x - c.x;
    const double dy = p.y - c.y;
    p = {c.x + dx * std::cos(radians) - dy * std::sin(radians),
         c.y + dx * std::sin(radians) + dy * std::cos(radians)};
  }
  return p;
}

// The topmost view hit is the last drawn; a link covers its whole frame, any
// other view only its content.
Hit hitTest(const LaidOutNode& node, Point location) {
  if (!node.hitTestable) return {};
  const Point p = intoNode(node, location);
  if (node.clip && !node.frame.contains(p)) return {};
  for (auto child = node.children.rbegin(); child != node.children.rend(); ++child) {
    Hit hit = hitTest(*child, p);
    if (hit.hit) {
      if (!hit.link) hit.link = node.link;
      return hit;
    }
  }
  const bool hasContent = node.kind != LaidOutNode::Kind::group || node.link;
  if (hasContent && node.frame.contains(p)) return {true, node.link};
  return {};
}

bool insideOutline(const LaidOutWidget& widget, Point p) {
  const Rect outline{{0, 0}, widget.size};
  if (!outline.contains(p)) return false;
  const double r = std::min({widget.cornerRadius, widget.size.width / 2, widget.size.height / 2});
  // Inside the rounded corners: within r of the nearest corner's centre.
  const double cx = std::clamp(p.x, r, widget.size.width - r);
  const double cy = std::clamp(p.y, r, widget.size.height - r);
  return std::hypot(p.x - cx, p.y - cy) <= r;
}

}  // namespace

std::optional<std::string> linkAt(const LaidOutWidget& widget, Point location) {
  if (!insideOutline(widget, location)) return std::nullopt;
  Hit hit = hitTest(widget.content, location);
  if (hit.link) return hit.link;
  return widget.widgetURL;
}

}  // namespace kelpo::ui
