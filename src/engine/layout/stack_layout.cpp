// One stack algorithm for both axes: "main" is the stack's axis, "cross"
// the other one.

#include "engine/layout/stack_layout.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace kelpo::ui {

namespace {

Axis crossAxisOf(Axis axis) {
  return axis == Axis::horizontal ? Axis::vertical : Axis::horizontal;
}

double along(const Size& size, Axis axis) {
  return axis == Axis::horizontal ? size.width : size.height;
}
double& along(Size& size, Axis axis) {
  return axis == Axis::horizontal ? size.width : size.height;
}
double along(const Point& point, Axis axis) {
  return axis == Axis::horizontal ? point.x : point.y;
}
double& along(Point& point, Axis axis) {
  return axis == Axis::horizontal ? point.x : point.y;
}

// Space still to share out; infinite space stays infinite whatever is taken.
double takeFrom(double left, double taken) {
  return std::isinf(left) ? left : left - taken;
}

// The share offered to each of `count` children from `left`.
double equalPart(double left, std::size_t count) {
  return count == 0 ? 0 : std::max(0.0, left / static_cast<double>(count));
}

}  // namespace

StackLayout::StackLayout(Axis axis, double crossAlignment, std::optional<double> spacing,
                         LayoutList children)
    : axis_(axis),
      crossAlignment_(crossAlignment),
      spacing_(spacing.value_or(defaultStackSpacing)),
      spacingIsDefault_(!spacing.has_value()),
      children_(std::move(children)) {}

// An explicit spacing separates every pair of neighbours. The default
// spacing is what the views themselves prefer, and a spacer prefers none:
// its minimum length is the whole gap, so nothing is added beside it.
double StackLayout::gapBefore(std::size_t index) const {
  if (index == 0 || index >= children_.size()) return 0;
  if (spacingIsDefault_ && (children_[index - 1]->isSpacer() || children_[index]->isSpacer())) {
    return 0;
  }
  return spacing_;
}

double StackLayout::totalGaps() const {
  double gaps = 0;
  for (std::size_t i = 1; i < children_.size(); ++i) gaps += gapBefore(i);
  return gaps;
}

std::vector<StackLayout::Share> StackLayout::shareOut(const ProposedSize& proposal) const {
  const Axis main = axis_;
  const Axis cross = crossAxisOf(axis_);
  const auto proposing = [&](ProposedLength mainLength) {
    ProposedSize p;
    p[main] = mainLength;
    p[cross] = proposal[cross];
    return p;
  };
  const auto offer = [&](std::size_t i, ProposedLength mainLength) {
    const ProposedSize p = proposing(mainLength);
    return Share{p, children_[i]->sizeThatFits(p)};
  };

  std::vector<Share> shares(children_.size());
  // With no length along the axis, every child takes its ideal length.
  if (!proposal[main].isSpecified()) {
    for (std::size_t i = 0; i < children_.size(); ++i)
      shares[i] = offer(i, ProposedLength::unspecified());
    return shares;
  }

  // Pass 1: sort the children by flexibility, the difference between the
  // length a child takes when offered nothing and when offered everything.
  // Spacers come last, in their order.
  std::vector<std::size_t> flexibles;
  std::vector<std::size_t> spacers;
  std::vector<double> flexibility(children_.size(), 0);
  double spacersMinimum = 0;
  for (std::size_t i = 0; i < children_.size(); ++i) {
    const double least =
        along(children_[i]->sizeThatFits(proposing(ProposedLength::exactly(0))), main);
    if (children_[i]->isSpacer()) {
      spacers.push_back(i);
      spacersMinimum += least;
      continue;
    }
    const double most =
        along(children_[i]->sizeThatFits(proposing(ProposedLength::infinity())), main);
    const double range = most - least;
    flexibility[i] = std::isnan(range) ? std::numeric_limits<double>::infinity() : range;
    flexibles.push_back(i);
  }
  std::stable_sort(flexibles.begin(), flexibles.end(),
                   [&](std::size_t a, std::size_t b) { return flexibility[a] < flexibility[b]; });

  double left = takeFrom(*proposal[main].value, totalGaps());

  // Pass 2: the other children, least flexible first, each offered an equal
  // part of what is left once the spacers' minimum lengths are held back.
  left = takeFrom(left, spacersMinimum);
  for (std::size_t k = 0; k < flexibles.size(); ++k) {
    const std::size_t i = flexibles[k];
    shares[i] = offer(i, ProposedLength::exactly(equalPart(left, flexibles.size() - k)));
    left = takeFrom(left, along(shares[i].size, main));
  }

  // Pass 3: the spacers share what remains, their minimums given back.
  left = takeFrom(left, -spacersMinimum);
  for (std::size_t k = 0; k < spacers.size(); ++k) {
    const std::size_t i = spacers[k];
    shares[i] = offer(i, ProposedLength::exactly(equalPart(left, spacers.size() - k)));
    left = takeFrom(left, along(shares[i].size, main));
  }
  return shares;
}

Size StackLayout::totalSize(const std::vector<Share>& shares) const {
  Size total;
  for (const Share& share : shares) {
    along(total, axis_) += along(share.size, axis_);
    along(total, crossAxisOf(axis_)) =
        std::max(along(total, crossAxisOf(axis_)), along(share.size, crossAxisOf(axis_)));
  }
  along(total, axis_) += totalGaps();
  return total;
}

Size StackLayout::computeSize(const ProposedSize& proposal) const {
  return totalSize(shareOut(proposal));
}

LaidOutNode StackLayout::place(const Rect& bounds, const ProposedSize& proposal) const {
  const Axis main = axis_;
  const Axis cross = crossAxisOf(axis_);
  LaidOutNode node;
  node.name = axis_ == Axis::horizontal ? "HStack" : "VStack";
  node.frame = bounds;

  const std::vector<Share> shares = shareOut(proposal);
  double position = along(bounds.origin, main);
  for (std::size_t i = 0; i < shares.size(); ++i) {
    Point origin;
    along(origin, main) = position;
    along(origin, cross) =
        along(bounds.origin, cross) +
        (along(bounds.size, cross) - along(shares[i].size, cross)) * crossAlignment_;
    node.children.push_back(children_[i]->place(Rect{origin, shares[i].size}, shares[i].proposal));
    position += along(shares[i].size, main) + gapBefore(i + 1);
  }
  return node;
}

}  // namespace kelpo::ui
