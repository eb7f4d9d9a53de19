#include "platform/ui/output/accessibility_dump.h"

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

void collect(const LaidOutNode& node, Point offset, std::vector<AccessibilityElement>& out) {
  const AccessibilityInfo& a = node.accessibility;
  if (a.hidden) return;
  const Point at{offset.x + node.offset.x, offset.y + node.offset.y};
  const Rect frame = shifted(node.frame, at);
  if (a.isElement) {
    std::string label;
    if (a.label) {
      label = *a.label;
    } else {
      for (const LaidOutNode& child : node.children) gatherTexts(child, label);
    }
    out.push_back({label, a.value, frame});
    return;
  }
  switch (node.kind) {
    case LaidOutNode::Kind::text:
      out.push_back({a.label.value_or(textOf(node)), a.value, frame});
      return;
    case LaidOutNode::Kind::symbol:
    case LaidOutNode::Kind::bitmap:
      if (a.label) out.push_back({*a.label, a.value, frame});
      return;
    default:
      break;
  }
  for (const LaidOutNode& child : node.children) collect(child, at, out);
}

}  // namespace

std::vector<AccessibilityElement> accessibilityElements(const LaidOutWidget& widget) {
  std::vector<AccessibilityElement> elements;
  collect(widget.content, {}, elements);
  return elements;
}

}  // namespace kelpo::ui
