// The modifiers that change the space a view takes: frames, padding,
// fixed size and aspect ratio.

#include "engine/layout/frame_layouts.h"

#include <algorithm>
#include <cmath>

namespace kelpo::ui {

namespace {

LaidOutNode wrapper(const char* name, const Rect& bounds, LaidOutNode child) {
  LaidOutNode node;
  node.name = name;
  node.frame = bounds;
  node.children.push_back(std::move(child));
  return node;
}

struct AxisBounds {
  std::optional<double> min;
  std::optional<double> ideal;
  std::optional<double> max;
};

// The length a flexible frame offers its child: the proposal clamped into
// the bounds (the maximum wins over the minimum), the ideal when unspecified.
ProposedLength clampedProposal(const ProposedLength& proposed, const AxisBounds& bounds) {
  if (!proposed.isSpecified()) {
    return bounds.ideal ? ProposedLength::exactly(*bounds.ideal) : ProposedLength::unspecified();
  }
  double length = *proposed.value;
  if (bounds.min) length = std::max(length, *bounds.min);
  if (bounds.max) length = std::min(length, *bounds.max);
  return ProposedLength::exactly(length);
}

// A flexible frame's own length: the child's, moved toward the offered
// length as far as the bounds allow.
double flexibleLength(double child, const ProposedLength& offered, const AxisBounds& bounds) {
  if (!bounds.min && !bounds.max) return child;
  const double target = offered.value.value_or(child);
  double length = child;
  if (bounds.min) length = std::max(*bounds.min, std::min(length, target));
  if (bounds.max) length = std::min(*bounds.max, std::max(length, target));
  return length;
}

AxisBounds horizontalBounds(const FlexibleFrame& f) {
  return {f.minWidth, f.idealWidth, f.maxWidth};
}
AxisBounds verticalBounds(const FlexibleFrame& f) {
  return {f.minHeight, f.idealHeight, f.maxHeight};
}

// A usable length for an aspect-ratio computation: finite and specified.
std::optional<double> finiteLength(const ProposedLength& length) {
  if (!length.isSpecified() || length.isInfinite()) return std::nullopt;
  return length.value;
}

}  // namespace

// ---- Fixed frame --------------------------------------------------------

ProposedSize FixedFrameLayout::childProposal(const ProposedSize& proposal) const {
  return {width_ ? ProposedLength::exactly(*width_) : proposal.width,
          height_ ? ProposedLength::exactly(*height_) : proposal.height};
}

Size FixedFrameLayout::computeSize(const ProposedSize& proposal) const {
  if (width_ && height_) return {*width_, *height_};
  const Size child = child_->sizeThatFits(childProposal(proposal));
  return {width_.value_or(child.width), height_.value_or(child.height)};
}

LaidOutNode FixedFrameLayout::place(const Rect& bounds, const ProposedSize& proposal) const {
  return wrapper("frame", bounds,
                 placeAligned(*child_, bounds, alignment_, childProposal(proposal)));
}

// ---- Flexible frame -----------------------------------------------------

ProposedSize FlexibleFrameLayout::childProposal(const ProposedSize& proposal) const {
  return {clampedProposal(proposal.width, horizontalBounds(bounds_)),
          clampedProposal(proposal.height, verticalBounds(bounds_))};
}

Size FlexibleFrameLayout::computeSize(const ProposedSize& proposal) const {
  const ProposedSize offered = childProposal(proposal);
  const Size child = child_->sizeThatFits(offered);
  return {flexibleLength(child.width, offered.width, horizontalBounds(bounds_)),
          flexibleLength(child.height, offered.height, verticalBounds(bounds_))};
}

LaidOutNode FlexibleFrameLayout::place(const Rect& bounds, const ProposedSize& proposal) const {
  return wrapper("frame", bounds,
                 placeAligned(*child_, bounds, bounds_.alignment, childProposal(proposal)));
}

// ---- Padding ------------------------------------------------------------

Size PaddingLayout::computeSize(const ProposedSize& proposal) const {
  const Size child = child_->sizeThatFits(proposal.inset(insets_));
  return {std::max(0.0, child.width + insets_.leading + insets_.trailing),
          std::max(0.0, child.height + insets_.top + insets_.bottom)};
}

LaidOutNode PaddingLayout::place(const Rect& bounds, const ProposedSize& proposal) const {
  const Point origin{bounds.minX() + insets_.leading, bounds.minY() + insets_.top};
  return wrapper("padding", bounds, placeAt(*child_, origin, proposal.inset(insets_)));
}

// ---- Fixed size ---------------------------------------------------------

ProposedSize FixedSizeLayout::childProposal(const ProposedSize& proposal) const {
  return {horizontal_ ? ProposedLength::unspecified() : proposal.width,
          vertical_ ? ProposedLength::unspecified() : proposal.height};
}

Size FixedSizeLayout::computeSize(const ProposedSize& proposal) const {
  return child_->sizeThatFits(childProposal(proposal));
}

LaidOutNode FixedSizeLayout::place(const Rect& bounds, const ProposedSize& proposal) const {
  return wrapper("fixedSize", bounds,
                 placeAligned(*child_, bounds, Alignment::center(), childProposal(proposal)));
}

// ---- Aspect ratio -------------------------------------------------------

ProposedSize AspectRatioLayout::childProposal(const ProposedSize& proposal) const {
  double ratio = 0;
  if (ratio_) {
    ratio = *ratio_;
  } else {
    const Size ideal = child_->sizeThatFits(ProposedSize::unspecified());
    if (ideal.height > 0) ratio = ideal.width / ideal.height;
  }
  if (!(ratio > 0) || std::isinf(ratio)) return proposal;  // no shape to keep

  const std::optional<double> width = finiteLength(proposal.width);
  const std::optional<double> height = finiteLength(proposal.height);
  if (width && height) {
    const bool widerThanRatio = *width / std::max(*height, 1e-12) > ratio;
    // fit: the limiting side is the one that is short for the ratio;
    // fill: the other one.
    const bool heightLimits = (mode_ == ContentMode::fit) == widerThanRatio;
    if (*height == 0 || *width == 0) return ProposedSize::zero();
    return heightLimits ? ProposedSize::of({*height * ratio, *height})
                        : ProposedSize::of({*width, *width / ratio});
  }
  if (width) return ProposedSize::of({*width, *width / ratio});
  if (height) return ProposedSize::of({*height * ratio, *height});
  return proposal;
}

Size AspectRatioLayout::computeSize(const ProposedSize& proposal) const {
  return child_->sizeThatFits(childProposal(proposal));
}

LaidOutNode AspectRatioLayout::place(const Rect& bounds, const ProposedSize& proposal) const {
  return wrapper("aspectRatio", bounds,
                 placeAligned(*child_, bounds, Alignment::center(), childProposal(proposal)));
}

}  // namespace kelpo::ui
