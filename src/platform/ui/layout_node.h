#pragma once

// The layout primitives. A view tree is first resolved (layout_resolver.h)
// into a tree of these nodes, each knowing its style and children; layout
// then follows the proposal/answer model: a parent proposes a size, the
// child answers the size it takes (sizeThatFits), and the parent places it
// (place), which yields the laid-out node with its absolute frame.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/layout_tree.h"
#include "platform/ui/text_layout.h"
#include "platform/ui/view.h"

namespace kelpo::ui {

class LayoutNode;
using LayoutNodePtr = std::unique_ptr<const LayoutNode>;
using LayoutList = std::vector<LayoutNodePtr>;

class LayoutNode {
 public:
  LayoutNode() = default;
  LayoutNode(const LayoutNode&) = delete;
  LayoutNode& operator=(const LayoutNode&) = delete;
  virtual ~LayoutNode() = default;

  // The size this node takes when offered `proposal`. Answers are cached per
  // proposal: stacks ask every child several times while sharing out space.
  [[nodiscard]] Size sizeThatFits(const ProposedSize& proposal) const;

  // Lays the node out in `bounds` (absolute widget points), the size it
  // answered for `proposal`.
  [[nodiscard]] virtual LaidOutNode place(const Rect& bounds,
                                          const ProposedSize& proposal) const = 0;

  // Spacers are shared out last by the stack that holds them.
  [[nodiscard]] virtual bool isSpacer() const { return false; }

 protected:
  [[nodiscard]] virtual Size computeSize(const ProposedSize& proposal) const = 0;

 private:
  mutable std::vector<std::pair<ProposedSize, Size>> cache_;
};

// Where a child of size `child` goes inside `bounds` for `alignment`.
[[nodiscard]] Point alignedOrigin(Size child, const Rect& bounds, Alignment alignment);
// Asks `child` for its size under `proposal` and places it at `origin`.
[[nodiscard]] LaidOutNode placeAt(const LayoutNode& child, Point origin,
                                  const ProposedSize& proposal);
// Asks `child` for its size under `proposal` and aligns it inside `bounds`.
[[nodiscard]] LaidOutNode placeAligned(const LayoutNode& child, const Rect& bounds,
                                       Alignment alignment, const ProposedSize& proposal);

// ---- Leaves -------------------------------------------------------------

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

// A shape's or a paint's length along an axis left unspecified; the
// platform's shapes and colours answer 10 points there too.
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

// ---- Containers ---------------------------------------------------------

// The platform's spacing between stacked views when none is given.
inline constexpr double defaultStackSpacing = 8;

// Child sizing: the proposal's main-axis length less the spacing is shared
// out from the least to the most flexible child, each offered an equal part
// of what is left (spacers' minimum lengths held back), spacers last; the
// cross axis is proposed as it is.
// Own size: the children's lengths plus spacing along the axis, the widest
// child across.
class StackLayout final : public LayoutNode {
 public:
  // An absent spacing is the platform's default spacing, which no spacer
  // takes: see gapBefore.
  StackLayout(Axis axis, double crossAlignment, std::optional<double> spacing,
              LayoutList children);
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

// Child sizing: every child is offered the whole proposal.
// Own size: the largest child on each axis; children aligned inside it.
class LayeredLayout final : public LayoutNode {
 public:
  LayeredLayout(std::string name, Alignment alignment, LayoutList children)
      : name_(std::move(name)), alignment_(alignment), children_(std::move(children)) {}
  [[nodiscard]] LaidOutNode place(const Rect& bounds, const ProposedSize& proposal) const override;

 private:
  [[nodiscard]] Size computeSize(const ProposedSize& proposal) const override;
  std::string name_;
  Alignment alignment_;
  LayoutList children_;
};

// Builds the content of a geometry reader for the size it was given.
using SizedContent = std::function<LayoutList(Size)>;

// A geometry reader's size when the proposal leaves an axis unspecified:
// it has no content to ask, so it takes nothing.
inline constexpr double unspecifiedReaderLength = 0;

// Child sizing: the content built for the reader's size is offered exactly
// that size and placed at the top-leading corner.
// Own size: the proposal; an unspecified axis takes 0.
class GeometryReaderLayout final : public LayoutNode {
 public:
  explicit GeometryReaderLayout(SizedContent content) : content_(std::move(content)) {}
  [[nodiscard]] LaidOutNode place(const Rect& bounds, const ProposedSize& proposal) const override;

 private:
  [[nodiscard]] Size computeSize(const ProposedSize& proposal) const override;
  SizedContent content_;
};

// ---- Layout modifiers ---------------------------------------------------

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

enum class Layer { behind, over };

// Child sizing: the content as proposed; the decoration is offered exactly
// the content's size and aligned on it.
// Own size: the content's size.
class DecorationLayout final : public LayoutNode {
 public:
  DecorationLayout(LayoutNodePtr content, LayoutList decoration, Alignment alignment, Layer layer)
      : content_(std::move(content)),
        decoration_(std::move(decoration)),
        alignment_(alignment),
        layer_(layer) {}
  [[nodiscard]] LaidOutNode place(const Rect& bounds, const ProposedSize& proposal) const override;

 private:
  [[nodiscard]] Size computeSize(const ProposedSize& proposal) const override;
  LayoutNodePtr content_;
  LayoutList decoration_;
  Alignment alignment_;
  Layer layer_;
};

// What a drawing or interaction modifier does to the laid-out node.
struct Effect {
  // `none` only reports the placement to the observer.
  enum class Kind {
    none,
    offset,
    rotation,
    shadow,
    opacity,
    clip,
    hitTesting,
    accessibility,
    link
  };
  Kind kind = Kind::none;
  Point offset;
  double rotationDegrees = 0;
  Shadow shadow;
  double opacity = 1;
  ShapeGeometry clip;
  bool hitTestable = true;
  bool accessibilityElement = false;
  std::optional<bool> accessibilityHidden;
  std::optional<std::string> accessibilityLabel;
  std::optional<std::string> accessibilityValue;
  std::string link;
};

// Called with the frame a view was placed in (hover tracking).
using PlacementObserver = std::function<void(const Rect&)>;

// Child sizing: the proposal, as it is.
// Own size: the child's size; the effect changes only the drawing or the
// interaction of the laid-out node.
class EffectLayout final : public LayoutNode {
 public:
  EffectLayout(LayoutNodePtr child, Effect effect)
      : child_(std::move(child)), effect_(std::move(effect)) {}
  EffectLayout(LayoutNodePtr child, PlacementObserver observer)
      : child_(std::move(child)), effect_{}, observer_(std::move(observer)) {}
  [[nodiscard]] LaidOutNode place(const Rect& bounds, const ProposedSize& proposal) const override;

 private:
  [[nodiscard]] Size computeSize(const ProposedSize& proposal) const override;
  LayoutNodePtr child_;
  Effect effect_;
  PlacementObserver observer_;
};

}  // namespace kelpo::ui
