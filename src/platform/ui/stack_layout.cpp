// One stack algorithm for both axes: "main" is the stack's axis, "cross"
// the other one.

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "platform/ui/layout_node.h"

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

  const double gaps = spacing_ * static_cast<double>(children_.empty() ? 0 : children_.size() - 1);
  double left = takeFrom(*proposal[main].value, gaps);

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
  if (!shares.empty()) along(total, axis_) += spacing_ * static_cast<double>(shares.size() - 1);
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
    position += along(shares[i].size, main) + spacing_;
  }
  return node;
}

}  // namespace kelpo::ui
