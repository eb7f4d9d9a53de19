#pragma once

// The leaves of a layout tree: texts, symbols, bitmaps, shapes, spacers.

#include <optional>
#include <string>

#include "engine/layout/layout_node.h"

namespace kelpo::ui {

// Child sizing: none.
// Own size: what the text measurer fits into the proposal (an infinite axis
// counts as unbounded).
class TextViewLayout final : public LayoutNode {
 public:
  TextViewLayout(StyledText text, const TextMeasurer& measurer)
      : text_(std::move(text)), measurer_(measurer) {}
  [[nodiscard]] LaidOutNode place(const Rect& bounds, const ProposedSize& proposal) const override;

 private:
  [[nodiscard]] Size computeSize(const ProposedSize& proposal) const override;
  [[nodiscard]] TextFit fit(const ProposedSize& proposal) const;
  StyledText text_;
  const TextMeasurer& measurer_;
};

// Child sizing: none.
// Own size: the symbol's size at its font, whatever is proposed.
class SymbolLayout final : public LayoutNode {
 public:
  SymbolLayout(std::string name, Font font, Paint foreground, const TextMeasurer& measurer)
      : name_(std::move(name)),
        font_(std::move(font)),
        foreground_(std::move(foreground)),
        measurer_(measurer) {}
  [[nodiscard]] LaidOutNode place(const Rect& bounds, const ProposedSize& proposal) const override;

 private:
  [[nodiscard]] Size computeSize(const ProposedSize& proposal) const override;
  std::string name_;
  Font font_;
  Paint foreground_;
  const TextMeasurer& measurer_;
};

// Child sizing: none.
// Own size: the bitmap's pixel size (zero for the empty image); when
// resizable, the proposal, each unspecified axis taking the bitmap's length.
class BitmapLayout final : public LayoutNode {
 public:
  BitmapLayout(std::shared_ptr<const Bitmap> bitmap, bool resizable)
      : bitmap_(std::move(bitmap)), resizable_(resizable) {}
  [[nodiscard]] LaidOutNode place(const Rect& bounds, const ProposedSize& proposal) const override;

 private:
  [[nodiscard]] Size computeSize(const ProposedSize& proposal) const override;
  std::shared_ptr<const Bitmap> bitmap_;
  bool resizable_;
};

// What a shape or a paint measures along an axis whose length is left
// unspecified, so that an ideal-size query still gets a small, visible size.
inline constexpr double unspecifiedShapeLength = 10;

// Child sizing: none.
// Own size: the proposal; an unspecified axis takes 10 points.
class ShapeLayout final : public LayoutNode {
 public:
  explicit ShapeLayout(LaidOutNode prototype) : prototype_(std::move(prototype)) {}
  [[nodiscard]] LaidOutNode place(const Rect& bounds, const ProposedSize& proposal) const override;

 private:
  [[nodiscard]] Size computeSize(const ProposedSize& proposal) const override;
  LaidOutNode prototype_;  // a shape or paint node; place() gives it its frame
};

// Child sizing: none.
// Own size: along its stack's axis the proposal, never below the minimum
// length (the minimum when unspecified); nothing across. Outside a stack
// both axes behave as the stack axis does.
class SpacerLayout final : public LayoutNode {
 public:
  SpacerLayout(double minLength, std::optional<Axis> axis) : minLength_(minLength), axis_(axis) {}
  [[nodiscard]] LaidOutNode place(const Rect& bounds, const ProposedSize& proposal) const override;
  [[nodiscard]] bool isSpacer() const override { return true; }

 private:
  [[nodiscard]] Size computeSize(const ProposedSize& proposal) const override;
  [[nodiscard]] double lengthAlong(const ProposedLength& proposed) const;
  double minLength_;
  std::optional<Axis> axis_;
};

}  // namespace kelpo::ui
