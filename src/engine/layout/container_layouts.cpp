// Layered containers (ZStack, geometry readers, backgrounds and overlays)
// and the modifiers that change the drawing, not the space taken.

#include "engine/layout/container_layouts.h"

#include <algorithm>

namespace kelpo::ui {

// ---- Layered ------------------------------------------------------------

Size LayeredLayout::computeSize(const ProposedSize& proposal) const {
  Size size;
  for (const auto& child : children_) {
    const Size s = child->sizeThatFits(proposal);
    size.width = std::max(size.width, s.width);
    size.height = std::max(size.height, s.height);
  }
  return size;
}

LaidOutNode LayeredLayout::place(const Rect& bounds, const ProposedSize& proposal) const {
  LaidOutNode node;
  node.name = name_;
  node.frame = bounds;
  for (const auto& child : children_)
    node.children.push_back(placeAligned(*child, bounds, alignment_, proposal));
  return node;
}

// ---- Geometry reader ----------------------------------------------------

Size GeometryReaderLayout::computeSize(const ProposedSize& proposal) const {
  return {proposal.width.value.value_or(unspecifiedReaderLength),
          proposal.height.value.value_or(unspecifiedReaderLength)};
}

LaidOutNode GeometryReaderLayout::place(const Rect& bounds,
                                        const ProposedSize& /*proposal*/) const {
  LaidOutNode node;
  node.name = "GeometryReader";
  node.frame = bounds;
  const LayoutList content = content_(bounds.size);
  const ProposedSize offered = ProposedSize::of(bounds.size);
  for (const auto& child : content)
    node.children.push_back(placeAt(*child, bounds.origin, offered));
  return node;
}

// ---- Background and overlay ---------------------------------------------

Size DecorationLayout::computeSize(const ProposedSize& proposal) const {
  return content_->sizeThatFits(proposal);
}

LaidOutNode DecorationLayout::place(const Rect& bounds, const ProposedSize& proposal) const {
  LaidOutNode node;
  node.name = layer_ == Layer::behind ? "background" : "overlay";
  node.frame = bounds;
  const ProposedSize offered = ProposedSize::of(bounds.size);
  const auto placeDecoration = [&] {
    for (const auto& child : decoration_)
      node.children.push_back(placeAligned(*child, bounds, alignment_, offered));
  };
  if (layer_ == Layer::behind) placeDecoration();
  node.children.push_back(content_->place(bounds, proposal));
  if (layer_ == Layer::over) placeDecoration();
  return node;
}

// ---- Effects ------------------------------------------------------------

namespace {

// The drawing effects of a node apply outermost first in this order; a new
// (outer) effect joins the node only if it comes no later than every effect
// the node already has, otherwise it needs a node of its own.
int drawingRank(Effect::Kind kind) {
  switch (kind) {
    case Effect::Kind::offset:
      return 0;
    case Effect::Kind::rotation:
      return 1;
    case Effect::Kind::shadow:
      return 2;
    case Effect::Kind::opacity:
      return 3;
    case Effect::Kind::clip:
      return 4;
    case Effect::Kind::none:
    case Effect::Kind::hitTesting:
    case Effect::Kind::accessibility:
    case Effect::Kind::link:
      break;
  }
  return -1;  // not a drawing effect
}

int outermostRankOf(const LaidOutNode& node) {
  if (node.offset != Point{}) return 0;
  if (node.rotationDegrees != 0) return 1;
  if (node.shadow) return 2;
  if (node.opacity != 1) return 3;
  if (node.clip) return 4;
  return 5;
}

const char* effectName(Effect::Kind kind) {
  switch (kind) {
    case Effect::Kind::offset:
      return "offset";
    case Effect::Kind::rotation:
      return "rotationEffect";
    case Effect::Kind::shadow:
      return "shadow";
    case Effect::Kind::opacity:
      return "opacity";
    case Effect::Kind::clip:
      return "clipShape";
    case Effect::Kind::none:
    case Effect::Kind::hitTesting:
    case Effect::Kind::accessibility:
    case Effect::Kind::link:
      break;
  }
  return "effect";
}

// Offsets, rotations about the same centre and group opacities combine with
// an effect of the same kind; shadows and clips do not.
bool combinesWithSameKind(Effect::Kind kind) {
  return kind == Effect::Kind::offset || kind == Effect::Kind::rotation ||
         kind == Effect::Kind::opacity;
}

LaidOutNode applyDrawing(LaidOutNode node, const Effect& effect) {
  const int rank = drawingRank(effect.kind);
  const int outermost = outermostRankOf(node);
  if (rank > outermost || (rank == outermost && !combinesWithSameKind(effect.kind))) {
    LaidOutNode wrapper;
    wrapper.name = effectName(effect.kind);
    wrapper.frame = node.frame;
    wrapper.children.push_back(std::move(node));
    node = std::move(wrapper);
  }
  switch (effect.kind) {
    case Effect::Kind::offset:
      node.offset = {node.offset.x + effect.offset.x, node.offset.y + effect.offset.y};
      break;
    case Effect::Kind::rotation:
      node.rotationDegrees += effect.rotationDegrees;
      break;
    case Effect::Kind::shadow:
      node.shadow = effect.shadow;
      break;
    case Effect::Kind::opacity:
      node.opacity *= effect.opacity;
      break;
    case Effect::Kind::clip:
      node.clip = effect.clip;
      break;
    case Effect::Kind::none:
    case Effect::Kind::hitTesting:
    case Effect::Kind::accessibility:
    case Effect::Kind::link:
      break;
  }
  return node;
}

// The modifier nearest the view wins for label and value: an outer modifier
// only fills in what the inner ones left unsaid.
void applyAccessibility(AccessibilityInfo& info, const Effect& effect) {
  if (effect.accessibilityElement) info.isElement = true;
  if (effect.accessibilityHidden) info.hidden = info.hidden || *effect.accessibilityHidden;
  if (effect.accessibilityLabel && !info.label) info.label = effect.accessibilityLabel;
  if (effect.accessibilityValue && !info.value) info.value = effect.accessibilityValue;
}

}  // namespace

Size EffectLayout::computeSize(const ProposedSize& proposal) const {
  return child_->sizeThatFits(proposal);
}

LaidOutNode EffectLayout::place(const Rect& bounds, const ProposedSize& proposal) const {
  if (observer_) observer_(bounds);
  LaidOutNode node = child_->place(bounds, proposal);
  switch (effect_.kind) {
    case Effect::Kind::none:
      return node;
    case Effect::Kind::hitTesting:
      node.hitTestable = node.hitTestable && effect_.hitTestable;
      return node;
    case Effect::Kind::accessibility:
      applyAccessibility(node.accessibility, effect_);
      return node;
    case Effect::Kind::link: {
      // A link is a node of its own, so that its label keeps its own effects.
      LaidOutNode link;
      link.name = "Link";
      link.frame = bounds;
      link.link = effect_.link;
      link.children.push_back(std::move(node));
      return link;
    }
    case Effect::Kind::offset:
    case Effect::Kind::rotation:
    case Effect::Kind::shadow:
    case Effect::Kind::opacity:
    case Effect::Kind::clip:
      break;
  }
  return applyDrawing(std::move(node), effect_);
}

}  // namespace kelpo::ui
