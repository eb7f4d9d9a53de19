#include "engine/layout/layout_node.h"

namespace kelpo::ui {

Size LayoutNode::sizeThatFits(const ProposedSize& proposal) const {
  for (const auto& [asked, answer] : cache_)
    if (asked == proposal) return answer;
  const Size answer = computeSize(proposal);
  cache_.emplace_back(proposal, answer);
  return answer;
}

Point alignedOrigin(Size child, const Rect& bounds, Alignment alignment) {
  return {
      bounds.minX() + (bounds.size.width - child.width) * alignmentFraction(alignment.horizontal),
      bounds.minY() + (bounds.size.height - child.height) * alignmentFraction(alignment.vertical)};
}

LaidOutNode placeAt(const LayoutNode& child, Point origin, const ProposedSize& proposal) {
  return child.place(Rect{origin, child.sizeThatFits(proposal)}, proposal);
}

LaidOutNode placeAligned(const LayoutNode& child, const Rect& bounds, Alignment alignment,
                         const ProposedSize& proposal) {
  const Size size = child.sizeThatFits(proposal);
  return child.place(Rect{alignedOrigin(size, bounds, alignment), size}, proposal);
}

}  // namespace kelpo::ui
