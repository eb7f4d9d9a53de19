#pragma once

// Stacks lay their children out along one axis, sharing the space out.

#include <optional>
#include <string>

#include "engine/layout/layout_node.h"

namespace kelpo::ui {

// The spacing between stacked views when none is given.
inline constexpr double defaultStackSpacing = 8;

// Child sizing: the proposal's main-axis length less the spacing is shared
// out from the least to the most flexible child, each offered an equal part
// of what is left (spacers' minimum lengths held back), spacers last; the
// cross axis is proposed as it is.
// Own size: the children's lengths plus spacing along the axis, the widest
// child across.
class StackLayout final : public LayoutNode {
 public:
  // An absent spacing is the default spacing, which no spacer takes: see
  // gapBefore.
  StackLayout(Axis axis, double crossAlignment, std::optional<double> spacing, LayoutList children);
  [[nodiscard]] LaidOutNode place(const Rect& bounds, const ProposedSize& proposal) const override;

 private:
  struct Share {
    ProposedSize proposal;
    Size size;
  };
  [[nodiscard]] Size computeSize(const ProposedSize& proposal) const override;
  [[nodiscard]] std::vector<Share> shareOut(const ProposedSize& proposal) const;
  [[nodiscard]] Size totalSize(const std::vector<Share>& shares) const;
  [[nodiscard]] double gapBefore(std::size_t index) const;
  [[nodiscard]] double totalGaps() const;
  Axis axis_;
  double crossAlignment_;
  double spacing_;
  bool spacingIsDefault_;
  LayoutList children_;
};

}  // namespace kelpo::ui
