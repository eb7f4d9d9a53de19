#pragma once

// The representation behind a View: a node is one primitive or one modifier
// wrapped around a child view. Nodes are immutable and shared, so copying a
// view copies a pointer. Only the view layer reads them.

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "engine/views/shadow.h"
#include "engine/views/text_environment.h"
#include "engine/views/view.h"

namespace kelpo::ui {

namespace primitive {
struct Empty {};
struct TextRuns {
  std::vector<Text::Run> runs;
};
struct Symbol {
  std::string name;
};
// A picture file, read when the view is laid out (see Image::file).
struct PictureFile {
  std::filesystem::path file;
  bool resizable = false;
};
struct Stack {
  Axis axis = Axis::vertical;
  double crossAlignment = 0.5;  // 0 leading/top, 0.5 centre, 1 trailing/bottom
  std::optional<double> spacing;
  std::vector<View> children;
};
struct Layered {  // ZStack
  Alignment alignment;
  std::vector<View> children;
};
struct GroupList {
  std::vector<View> children;
};
struct SpacerLength {
  std::optional<double> minLength;
};
struct Shape {
  ShapeGeometry geometry;
  std::optional<Paint> fill;
  std::optional<Paint> stroke;
  StrokeStyle strokeStyle;
  bool strokeInside = false;
};
struct PaintFill {
  Paint paint;
};
struct GeometryReading {
  std::function<View(Size)> content;
};
struct EnvironmentReading {
  std::function<View(const Environment&)> content;
};
struct StateHolder {
  double initial = 0;
  std::function<View(const StateHandle&, const Environment&)> content;
};
struct LinkTo {
  std::string url;
  View label;
};
}  // namespace primitive

namespace modifier {
struct FixedFrame {
  std::optional<double> width;
  std::optional<double> height;
  Alignment alignment;
};
struct FlexFrame {
  FlexibleFrame bounds;
};
struct Padding {
  EdgeInsets insets;
};
struct FixedSize {
  bool horizontal = true;
  bool vertical = true;
};
struct AspectRatio {
  std::optional<double> ratio;
  ContentMode mode = ContentMode::fit;
};
struct Offset {
  double x = 0;
  double y = 0;
};
struct Rotation {
  double degrees = 0;
};
struct Opacity {
  double value = 1;
};
struct Background {
  View content;
  Alignment alignment;
};
struct Overlay {
  View content;
  Alignment alignment;
};
struct Clip {
  ShapeGeometry shape;
};
struct DropShadow {
  Shadow shadow;
};
struct TextStyleChange {
  std::function<void(TextEnvironment&)> apply;
};
struct HitTesting {
  bool enabled = true;
};
struct OnAppear {
  Action action;
};
struct OnHover {
  HoverAction action;
};
struct Identity {
  std::string id;
};
struct AccessibilityIgnoreChildren {};
struct AccessibilityLabel {
  std::vector<Text::Run> runs;
};
struct AccessibilityValue {
  std::vector<Text::Run> runs;
};
struct AccessibilityHidden {
  bool hidden = true;
};
struct ContainerBackground {
  View content;
  Alignment alignment;
};
struct WidgetURL {
  std::string url;
};
struct IgnoresSafeArea {};

using Any = std::variant<FixedFrame, FlexFrame, Padding, FixedSize, AspectRatio, Offset, Rotation,
                         Opacity, Background, Overlay, Clip, DropShadow, TextStyleChange,
                         HitTesting, OnAppear, OnHover, Identity, AccessibilityIgnoreChildren,
                         AccessibilityLabel, AccessibilityValue, AccessibilityHidden,
                         ContainerBackground, WidgetURL, IgnoresSafeArea>;
}  // namespace modifier

// A modifier applied to a child view.
struct Modified {
  View child;
  modifier::Any modifier;
};

struct ViewNode {
  using Content =
      std::variant<primitive::Empty, primitive::TextRuns, primitive::Symbol, primitive::PictureFile,
                   primitive::Stack, primitive::Layered, primitive::GroupList,
                   primitive::SpacerLength, primitive::Shape, primitive::PaintFill,
                   primitive::GeometryReading, primitive::EnvironmentReading,
                   primitive::StateHolder, primitive::LinkTo, Modified>;
  Content content;
};

}  // namespace kelpo::ui
