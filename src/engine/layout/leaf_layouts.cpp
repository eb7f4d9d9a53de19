#include "engine/layout/leaf_layouts.h"

#include <algorithm>

#include "engine/cairo/bitmap.h"

namespace kelpo::ui {

namespace {

// The text measurer knows only bounded and unbounded axes.
ProposedSize withoutInfinity(ProposedSize proposal) {
  if (proposal.width.isInfinite()) proposal.width = ProposedLength::unspecified();
  if (proposal.height.isInfinite()) proposal.height = ProposedLength::unspecified();
  return proposal;
}

}  // namespace

// ---- Text ---------------------------------------------------------------

TextFit TextViewLayout::fit(const ProposedSize& proposal) const {
  return measurer_.fit(text_, withoutInfinity(proposal));
}

Size TextViewLayout::computeSize(const ProposedSize& proposal) const {
  return fit(proposal).size;
}

LaidOutNode TextViewLayout::place(const Rect& bounds, const ProposedSize& proposal) const {
  LaidOutNode node;
  node.kind = LaidOutNode::Kind::text;
  node.name = "Text";
  node.frame = bounds;
  node.text = text_;
  node.textFit = fit(proposal);
  return node;
}

// ---- Symbol -------------------------------------------------------------

Size SymbolLayout::computeSize(const ProposedSize& /*proposal*/) const {
  return measurer_.symbolSize(name_, font_);
}

LaidOutNode SymbolLayout::place(const Rect& bounds, const ProposedSize& /*proposal*/) const {
  LaidOutNode node;
  node.kind = LaidOutNode::Kind::symbol;
  node.name = "Image";
  node.frame = bounds;
  node.symbolName = name_;
  node.symbolFont = font_;
  node.foreground = foreground_;
  return node;
}

// ---- Bitmap -------------------------------------------------------------

Size BitmapLayout::computeSize(const ProposedSize& proposal) const {
  const Size natural = bitmap_ ? bitmap_->size() : Size{};
  if (!resizable_) return natural;
  return {proposal.width.value.value_or(natural.width),
          proposal.height.value.value_or(natural.height)};
}

LaidOutNode BitmapLayout::place(const Rect& bounds, const ProposedSize& /*proposal*/) const {
  LaidOutNode node;
  node.kind = LaidOutNode::Kind::bitmap;
  node.name = "Image";
  node.frame = bounds;
  node.bitmap = bitmap_;
  return node;
}

// ---- Shapes and paints --------------------------------------------------

Size ShapeLayout::computeSize(const ProposedSize& proposal) const {
  return {proposal.width.value.value_or(unspecifiedShapeLength),
          proposal.height.value.value_or(unspecifiedShapeLength)};
}

LaidOutNode ShapeLayout::place(const Rect& bounds, const ProposedSize& /*proposal*/) const {
  LaidOutNode node = prototype_;
  node.frame = bounds;
  return node;
}

// ---- Spacer -------------------------------------------------------------

double SpacerLayout::lengthAlong(const ProposedLength& proposed) const {
  return std::max(minLength_, proposed.value.value_or(minLength_));
}

Size SpacerLayout::computeSize(const ProposedSize& proposal) const {
  if (!axis_) return {lengthAlong(proposal.width), lengthAlong(proposal.height)};
  Size size;
  (*axis_ == Axis::horizontal ? size.width : size.height) = lengthAlong(proposal[*axis_]);
  return size;
}

LaidOutNode SpacerLayout::place(const Rect& bounds, const ProposedSize& /*proposal*/) const {
  LaidOutNode node;
  node.name = "Spacer";
  node.frame = bounds;
  return node;
}

}  // namespace kelpo::ui
