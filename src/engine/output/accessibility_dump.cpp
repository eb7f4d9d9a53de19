#include "engine/output/accessibility_dump.h"

namespace kelpo::ui {

namespace {

std::string textOf(const LaidOutNode& node) {
  std::string text;
  for (const StyledRun& run : node.text.runs) text += run.text;
  return text;
}

Rect shifted(const Rect& frame, Point by) {
  return {{frame.minX() + by.x, frame.minY() + by.y}, frame.size};
}

// The words of the texts inside `node`, for an element with no label.
void gatherTexts(const LaidOutNode& node, std::string& into) {
  if (node.accessibility.hidden) return;
  if (node.kind == LaidOutNode::Kind::text || node.accessibility.label) {
    const std::string words = node.accessibility.label.value_or(textOf(node));
    if (!words.empty()) into += (into.empty() ? "" : ", ") + words;
    return;
  }
  for (const LaidOutNode& child : node.children) gatherTexts(child, into);
}

bool drawsGraphics(const LaidOutNode& node) {
  if (node.kind != LaidOutNode::Kind::group && node.kind != LaidOutNode::Kind::text) return true;
  for (const LaidOutNode& child : node.children) {
    if (drawsGraphics(child)) return true;
  }
  return false;
}

void collect(const LaidOutNode& node, Point offset, const std::optional<std::string>& link,
             std::vector<AccessibilityElement>& out) {
  const AccessibilityInfo& a = node.accessibility;
  if (a.hidden) return;
  const Point at{offset.x + node.offset.x, offset.y + node.offset.y};
  const Rect frame = shifted(node.frame, at);
  const std::optional<std::string>& within = node.link ? node.link : link;
  if (a.isElement) {
    std::string label;
    if (a.label) {
      label = *a.label;
    } else {
      for (const LaidOutNode& child : node.children) gatherTexts(child, label);
    }
    const auto role = drawsGraphics(node) ? AccessibilityRole::image : AccessibilityRole::text;
    out.push_back({label, a.value, frame, role, within});
    return;
  }
  switch (node.kind) {
    case LaidOutNode::Kind::text:
      out.push_back(
          {a.label.value_or(textOf(node)), a.value, frame, AccessibilityRole::text, within});
      return;
    case LaidOutNode::Kind::symbol:
    case LaidOutNode::Kind::bitmap:
      if (a.label) out.push_back({*a.label, a.value, frame, AccessibilityRole::image, within});
      return;
    case LaidOutNode::Kind::group:
    case LaidOutNode::Kind::shape:
    case LaidOutNode::Kind::paint:
      break;
  }
  for (const LaidOutNode& child : node.children) collect(child, at, within, out);
}

}  // namespace

std::vector<AccessibilityElement> accessibilityElements(const LaidOutWidget& widget) {
  std::vector<AccessibilityElement> elements;
  collect(widget.content, {}, std::nullopt, elements);
  return elements;
}

}  // namespace kelpo::ui
