#pragma once

// The declarative view layer: a view is an immutable value built from
// primitives and modifiers, cheap to copy (it shares its tree). Widget code
// builds trees with these functions; layout (layout/widget_layout.h,
// layout/view_host.h) and drawing (drawing/painter.h, output/render_output.h)
// turn a tree into frames and pixels.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/locale/phrases.h"
#include "engine/views/environment.h"
#include "engine/views/font.h"
#include "engine/views/geometry.h"
#include "engine/views/paint.h"

namespace kelpo::ui {

struct ViewNode;  // the tree's representation, private to the view layer
class Text;

enum class TextAlignment { leading, center, trailing };
enum class TextCase { uppercase, lowercase };
enum class ContentMode { fit, fill };

// Flexible frame bounds; an absent bound leaves that side to the child.
struct FlexibleFrame {
  std::optional<double> minWidth = std::nullopt;
  std::optional<double> idealWidth = std::nullopt;
  std::optional<double> maxWidth = std::nullopt;
  std::optional<double> minHeight = std::nullopt;
  std::optional<double> idealHeight = std::nullopt;
  std::optional<double> maxHeight = std::nullopt;
  Alignment alignment = Alignment::center();
};

inline constexpr double infinity = std::numeric_limits<double>::infinity();

// How a state change is carried out.
struct Animation {
  enum class Curve { easeInOut };
  Curve curve = Curve::easeInOut;
  double duration = 0.35;  // seconds
  static Animation easeInOut(double seconds) { return {Curve::easeInOut, seconds}; }
};

struct Transaction {
  std::optional<Animation> animation;  // none: the change is instant
  static Transaction disablesAnimations() { return {}; }
  static Transaction animated(Animation a) { return {a}; }
};

class ActionContext;

// A handle on one number of view state, kept by the view's identity across
// renders. value() is the value at the time of the frame being built (an
// animation in flight is interpolated).
class StateHandle {
 public:
  struct Cell;
  explicit StateHandle(std::shared_ptr<Cell> cell) : cell_(std::move(cell)) {}
  [[nodiscard]] double value() const;
  // Sets the value, instantly or animated from the value shown now.
  void set(double target, const Transaction& transaction) const;

 private:
  std::shared_ptr<Cell> cell_;
};

// What a callback (onAppear, onHover, a scheduled task) may do: read the
// host's clock and schedule a task on the main thread.
class ActionContext {
 public:
  virtual ~ActionContext() = default;
  [[nodiscard]] virtual double secondsSinceAppear() const = 0;
  virtual void schedule(double delaySeconds, std::function<void(ActionContext&)> task) = 0;
};

using Action = std::function<void(ActionContext&)>;
using HoverAction = std::function<void(bool hovering, ActionContext&)>;

class View {
 public:
  View();  // an empty view: takes no space, draws nothing
  explicit View(std::shared_ptr<const ViewNode> node) : node_(std::move(node)) {}

  // Frames.
  [[nodiscard]] View frame(std::optional<double> width, std::optional<double> height,
                           Alignment alignment = Alignment::center()) const;
  [[nodiscard]] View frame(const FlexibleFrame& bounds) const;
  [[nodiscard]] View padding(Edges edges, double length) const;
  [[nodiscard]] View padding(double length) const { return padding(Edges::all(), length); }
  [[nodiscard]] View fixedSize(bool horizontal = true, bool vertical = true) const;
  [[nodiscard]] View aspectRatio(std::optional<double> ratio, ContentMode mode) const;

  // Drawing effects: they change the drawing, not the space taken.
  [[nodiscard]] View offset(double x, double y) const;
  [[nodiscard]] View rotationEffect(double degrees) const;  // about the centre
  [[nodiscard]] View opacity(double value) const;
  [[nodiscard]] View background(View content, Alignment alignment = Alignment::center()) const;
  [[nodiscard]] View overlay(View content, Alignment alignment = Alignment::center()) const;
  [[nodiscard]] View clipShape(const ShapeGeometry& shape) const;
  [[nodiscard]] View shadow(Color color, double radius, double x = 0, double y = 0) const;

  // Text style, inherited by every text and symbol inside.
  [[nodiscard]] View font(const Font& font) const;
  [[nodiscard]] View foregroundStyle(const Paint& paint) const;
  [[nodiscard]] View lineLimit(std::optional<int> lines) const;
  [[nodiscard]] View minimumScaleFactor(double factor) const;
  [[nodiscard]] View multilineTextAlignment(TextAlignment alignment) const;
  [[nodiscard]] View textCase(std::optional<TextCase> textCase) const;
  [[nodiscard]] View tracking(double points) const;
  [[nodiscard]] View lineSpacing(double points) const;

  // Interaction and identity.
  [[nodiscard]] View allowsHitTesting(bool enabled) const;
  [[nodiscard]] View onAppear(Action action) const;
  [[nodiscard]] View onHover(HoverAction action) const;
  [[nodiscard]] View id(std::string identity) const;

  // Accessibility.
  [[nodiscard]] View accessibilityElementIgnoringChildren() const;
  [[nodiscard]] View accessibilityLabel(const Text& label) const;
  [[nodiscard]] View accessibilityValue(const Text& value) const;
  [[nodiscard]] View accessibilityHidden(bool hidden) const;

  // Widget placement.
  [[nodiscard]] View containerBackground(View background,
                                         Alignment alignment = Alignment::center()) const;
  [[nodiscard]] View widgetURL(std::string url) const;
  [[nodiscard]] View ignoresSafeArea() const;

  [[nodiscard]] const std::shared_ptr<const ViewNode>& node() const { return node_; }

 private:
  std::shared_ptr<const ViewNode> node_;
};

// A text: a localisable phrase or a verbatim string (never read as markup or
// as a format). Concatenated texts keep each run's own font, weight and colour.
class Text : public View {
 public:
  struct Run {
    std::optional<LocalizedPhrase> phrase;  // localisable ...
    std::string verbatim;                   // ... or shown as it is
    std::optional<Font> font;
    std::optional<FontWeight> weight;
    std::optional<Paint> foreground;
  };

  explicit Text(LocalizedPhrase phrase);
  explicit Text(std::string key) : Text(LocalizedPhrase{std::move(key), {}}) {}
  explicit Text(const char* key) : Text(std::string(key)) {}
  [[nodiscard]] static Text verbatim(std::string text);

  [[nodiscard]] Text font(const Font& font) const;
  [[nodiscard]] Text fontWeight(FontWeight weight) const;
  [[nodiscard]] Text bold() const { return fontWeight(FontWeight::bold); }
  [[nodiscard]] Text foregroundStyle(const Paint& paint) const;
  friend Text operator+(const Text& a, const Text& b);

  [[nodiscard]] const std::vector<Run>& runs() const { return runs_; }

 private:
  explicit Text(std::vector<Run> runs);
  std::vector<Run> runs_;
};

// A system symbol ("magnifyingglass", "clock", "checkmark") sized by the
// current font, or a bitmap read from a PNG file when the view is laid out
// (an empty image, zero size, when the file is missing or unreadable).
class Image : public View {
 public:
  [[nodiscard]] static Image systemName(std::string name);
  [[nodiscard]] static Image file(const std::filesystem::path& png);
  // The bitmap stretches to the frame it is given instead of keeping its size.
  [[nodiscard]] Image resizable() const;

 private:
  using View::View;
};

// Stacks place children in order; a ZStack draws later children on top.
// An absent spacing takes the default of 8 points.
[[nodiscard]] View VStack(HorizontalAlignment alignment, std::optional<double> spacing,
                          std::vector<View> children);
[[nodiscard]] View HStack(VerticalAlignment alignment, std::optional<double> spacing,
                          std::vector<View> children);
[[nodiscard]] View ZStack(Alignment alignment, std::vector<View> children);
// Children laid out as if they were the parent's own.
[[nodiscard]] View Group(std::vector<View> children);
// Takes the free space along its stack's axis, never less than minLength
// (8 when absent), and nothing across it.
[[nodiscard]] View Spacer(std::optional<double> minLength = std::nullopt);

// A shape filled, stroked on its outline, or stroked inside it.
[[nodiscard]] View fill(const ShapeGeometry& shape, const Paint& paint);
[[nodiscard]] View stroke(const ShapeGeometry& shape, const Paint& paint, const StrokeStyle& style);
[[nodiscard]] View strokeBorder(const ShapeGeometry& shape, const Paint& paint, double lineWidth);

[[nodiscard]] inline ShapeGeometry Circle() {
  return {ShapeGeometry::Kind::circle};
}
[[nodiscard]] inline ShapeGeometry Rectangle() {
  return {ShapeGeometry::Kind::rectangle};
}
[[nodiscard]] inline ShapeGeometry RoundedRectangle(double radius,
                                                    CornerStyle style = CornerStyle::continuous) {
  return {ShapeGeometry::Kind::roundedRectangle, radius, style};
}
[[nodiscard]] inline ShapeGeometry trim(ShapeGeometry shape, double from, double to) {
  shape.trimFrom = from;
  shape.trimTo = to;
  return shape;
}

// A colour or gradient standing as a view: fills whatever it is offered.
[[nodiscard]] View PaintView(const Paint& paint);

// Takes the whole proposal and places what `content` builds for that size at
// its top-leading corner. `content` runs during layout, after the builders
// around it have returned: capture what it reads by value.
[[nodiscard]] View GeometryReader(std::function<View(Size)> content);
// Builds its content from the environment of the place it is drawn in.
[[nodiscard]] View EnvironmentReader(std::function<View(const Environment&)> content);
// A view with one number of state, kept by identity across renders.
[[nodiscard]] View Stateful(double initial,
                            std::function<View(const StateHandle&, const Environment&)> content);

// A click inside `label` opens `url`.
[[nodiscard]] View Link(std::string url, View label);

// One child per element, each identified by `identify(element)`.
template <class Range, class Identify, class Build>
[[nodiscard]] View ForEach(const Range& elements, Identify identify, Build build) {
  std::vector<View> children;
  for (const auto& element : elements) children.push_back(build(element).id(identify(element)));
  return Group(std::move(children));
}

}  // namespace kelpo::ui
