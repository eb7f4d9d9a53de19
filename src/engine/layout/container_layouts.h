#pragma once

// Nodes that layer children over one another or on a content view:
// z-stacks, geometry readers, backgrounds and overlays, drawing effects.

#include <functional>
#include <optional>
#include <string>

#include "engine/layout/layout_node.h"

namespace kelpo::ui {

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
