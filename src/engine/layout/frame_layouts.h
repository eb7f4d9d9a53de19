#pragma once

// Modifiers that change the size a child is offered or answers: frames,
// padding, fixed size, aspect ratio.

#include <optional>
#include <string>

#include "engine/layout/layout_node.h"

namespace kelpo::ui {

// Child sizing: the given lengths on their axes, the proposal on the others.
// Own size: exactly the given lengths, the child's on the others; the child
// is aligned inside.
class FixedFrameLayout final : public LayoutNode {
 public:
  FixedFrameLayout(LayoutNodePtr child, std::optional<double> width, std::optional<double> height,
                   Alignment alignment)
      : child_(std::move(child)), width_(width), height_(height), alignment_(alignment) {}
  [[nodiscard]] LaidOutNode place(const Rect& bounds, const ProposedSize& proposal) const override;

 private:
  [[nodiscard]] Size computeSize(const ProposedSize& proposal) const override;
  [[nodiscard]] ProposedSize childProposal(const ProposedSize& proposal) const;
  LayoutNodePtr child_;
  std::optional<double> width_;
  std::optional<double> height_;
  Alignment alignment_;
};

// Child sizing: the proposal clamped into [min, max]; an unspecified axis
// takes the ideal length (or stays unspecified).
// Own size: the child's size pulled toward the clamped proposal within
// [min, max]: an infinite maximum takes the whole proposal, a minimum
// never gives less. The child is aligned inside.
class FlexibleFrameLayout final : public LayoutNode {
 public:
  FlexibleFrameLayout(LayoutNodePtr child, const FlexibleFrame& bounds)
      : child_(std::move(child)), bounds_(bounds) {}
  [[nodiscard]] LaidOutNode place(const Rect& bounds, const ProposedSize& proposal) const override;

 private:
  [[nodiscard]] Size computeSize(const ProposedSize& proposal) const override;
  [[nodiscard]] ProposedSize childProposal(const ProposedSize& proposal) const;
  LayoutNodePtr child_;
  FlexibleFrame bounds_;
};

// Child sizing: the proposal less the insets (more, for negative insets).
// Own size: the child's size plus the insets, never below zero.
class PaddingLayout final : public LayoutNode {
 public:
  PaddingLayout(LayoutNodePtr child, EdgeInsets insets)
      : child_(std::move(child)), insets_(insets) {}
  [[nodiscard]] LaidOutNode place(const Rect& bounds, const ProposedSize& proposal) const override;

 private:
  [[nodiscard]] Size computeSize(const ProposedSize& proposal) const override;
  LayoutNodePtr child_;
  EdgeInsets insets_;
};

// Child sizing: unspecified on the fixed axes (the child's ideal length),
// the proposal on the others.
// Own size: the child's size.
class FixedSizeLayout final : public LayoutNode {
 public:
  FixedSizeLayout(LayoutNodePtr child, bool horizontal, bool vertical)
      : child_(std::move(child)), horizontal_(horizontal), vertical_(vertical) {}
  [[nodiscard]] LaidOutNode place(const Rect& bounds, const ProposedSize& proposal) const override;

 private:
  [[nodiscard]] Size computeSize(const ProposedSize& proposal) const override;
  [[nodiscard]] ProposedSize childProposal(const ProposedSize& proposal) const;
  LayoutNodePtr child_;
  bool horizontal_;
  bool vertical_;
};

// Child sizing: the largest size of the ratio (given, or the child's ideal
// width / height) inside the proposal (fit) or the smallest covering it
// (fill); a child without an ideal ratio gets the proposal.
// Own size: the child's size.
class AspectRatioLayout final : public LayoutNode {
 public:
  AspectRatioLayout(LayoutNodePtr child, std::optional<double> ratio, ContentMode mode)
      : child_(std::move(child)), ratio_(ratio), mode_(mode) {}
  [[nodiscard]] LaidOutNode place(const Rect& bounds, const ProposedSize& proposal) const override;

 private:
  [[nodiscard]] Size computeSize(const ProposedSize& proposal) const override;
  [[nodiscard]] ProposedSize childProposal(const ProposedSize& proposal) const;
  LayoutNodePtr child_;
  std::optional<double> ratio_;
  ContentMode mode_;
};

}  // namespace kelpo::ui
