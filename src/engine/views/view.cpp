#include "engine/views/view.h"

#include "engine/views/view_node.h"

namespace kelpo::ui {

namespace {

// Every empty view shares one immutable node.
const std::shared_ptr<const ViewNode>& emptyNode() {
  static const auto node = std::make_shared<const ViewNode>(ViewNode{primitive::Empty{}});
  return node;
}

View makeView(ViewNode::Content content) {
  return View(std::make_shared<const ViewNode>(ViewNode{std::move(content)}));
}

View modified(const View& child, modifier::Any modifier) {
  return makeView(Modified{child, std::move(modifier)});
}

View textStyle(const View& child, std::function<void(TextEnvironment&)> apply) {
  return modified(child, modifier::TextStyleChange{std::move(apply)});
}

EdgeInsets insetsOn(Edges edges, double length) {
  return {edges.contains(Edge::top) ? length : 0, edges.contains(Edge::leading) ? length : 0,
          edges.contains(Edge::bottom) ? length : 0, edges.contains(Edge::trailing) ? length : 0};
}

}  // namespace

View::View() : node_(emptyNode()) {}

View View::frame(std::optional<double> width, std::optional<double> height,
                 Alignment alignment) const {
  return modified(*this, modifier::FixedFrame{width, height, alignment});
}
View View::frame(const FlexibleFrame& bounds) const {
  return modified(*this, modifier::FlexFrame{bounds});
}
View View::padding(Edges edges, double length) const {
  return modified(*this, modifier::Padding{insetsOn(edges, length)});
}
View View::fixedSize(bool horizontal, bool vertical) const {
  return modified(*this, modifier::FixedSize{horizontal, vertical});
}
View View::aspectRatio(std::optional<double> ratio, ContentMode mode) const {
  return modified(*this, modifier::AspectRatio{ratio, mode});
}

View View::offset(double x, double y) const {
  return modified(*this, modifier::Offset{x, y});
}
View View::rotationEffect(double degrees) const {
  return modified(*this, modifier::Rotation{degrees});
}
View View::opacity(double value) const {
  return modified(*this, modifier::Opacity{value});
}
View View::background(View content, Alignment alignment) const {
  return modified(*this, modifier::Background{std::move(content), alignment});
}
View View::overlay(View content, Alignment alignment) const {
  return modified(*this, modifier::Overlay{std::move(content), alignment});
}
View View::clipShape(const ShapeGeometry& shape) const {
  return modified(*this, modifier::Clip{shape});
}
View View::shadow(Color color, double radius, double x, double y) const {
  return modified(*this, modifier::DropShadow{Shadow{color, radius, x, y}});
}

View View::font(const Font& font) const {
  return textStyle(*this, [font](TextEnvironment& e) { e.font = font; });
}
View View::foregroundStyle(const Paint& paint) const {
  return textStyle(*this, [paint](TextEnvironment& e) { e.foreground = paint; });
}
View View::lineLimit(std::optional<int> lines) const {
  return textStyle(*this, [lines](TextEnvironment& e) { e.lineLimit = lines; });
}
View View::minimumScaleFactor(double factor) const {
  return textStyle(*this, [factor](TextEnvironment& e) { e.minimumScaleFactor = factor; });
}
View View::multilineTextAlignment(TextAlignment alignment) const {
  return textStyle(*this, [alignment](TextEnvironment& e) { e.alignment = alignment; });
}
View View::textCase(std::optional<TextCase> textCase) const {
  return textStyle(*this, [textCase](TextEnvironment& e) { e.textCase = textCase; });
}
View View::tracking(double points) const {
  return textStyle(*this, [points](TextEnvironment& e) { e.tracking = points; });
}
View View::lineSpacing(double points) const {
  return textStyle(*this, [points](TextEnvironment& e) { e.lineSpacing = points; });
}
View View::allowsHitTesting(bool enabled) const {
  return modified(*this, modifier::HitTesting{enabled});
}
View View::onAppear(Action action) const {
  return modified(*this, modifier::OnAppear{std::move(action)});
}
View View::onHover(HoverAction action) const {
  return modified(*this, modifier::OnHover{std::move(action)});
}
View View::id(std::string identity) const {
  return modified(*this, modifier::Identity{std::move(identity)});
}

View View::accessibilityElementIgnoringChildren() const {
  return modified(*this, modifier::AccessibilityIgnoreChildren{});
}
View View::accessibilityLabel(const Text& label) const {
  return modified(*this, modifier::AccessibilityLabel{label.runs()});
}
View View::accessibilityValue(const Text& value) const {
  return modified(*this, modifier::AccessibilityValue{value.runs()});
}
View View::accessibilityHidden(bool hidden) const {
  return modified(*this, modifier::AccessibilityHidden{hidden});
}

View View::containerBackground(View background, Alignment alignment) const {
  return modified(*this, modifier::ContainerBackground{std::move(background), alignment});
}
View View::widgetURL(std::string url) const {
  return modified(*this, modifier::WidgetURL{std::move(url)});
}
View View::ignoresSafeArea() const {
  return modified(*this, modifier::IgnoresSafeArea{});
}

// Texts.

Text::Text(LocalizedPhrase phrase)
    : Text(std::vector<Run>{Run{std::move(phrase), {}, {}, {}, {}}}) {}

Text::Text(std::vector<Run> runs)
    : View(std::make_shared<const ViewNode>(ViewNode{primitive::TextRuns{runs}})),
      runs_(std::move(runs)) {}

Text Text::verbatim(std::string text) {
  return Text(std::vector<Run>{Run{std::nullopt, std::move(text), {}, {}, {}}});
}

// A text-level style applies to the runs that do not set their own, so that
// the parts of a concatenation keep what they were given.
Text Text::font(const Font& font) const {
  std::vector<Run> runs = runs_;
  for (Run& run : runs)
    if (!run.font) run.font = font;
  return Text(std::move(runs));
}

Text Text::fontWeight(FontWeight weight) const {
  std::vector<Run> runs = runs_;
  for (Run& run : runs)
    if (!run.weight) run.weight = weight;
  return Text(std::move(runs));
}

Text Text::foregroundStyle(const Paint& paint) const {
  std::vector<Run> runs = runs_;
  for (Run& run : runs)
    if (!run.foreground) run.foreground = paint;
  return Text(std::move(runs));
}

Text operator+(const Text& a, const Text& b) {
  std::vector<Text::Run> runs = a.runs_;
  runs.insert(runs.end(), b.runs_.begin(), b.runs_.end());
  return Text(std::move(runs));
}

// Containers.

View VStack(HorizontalAlignment alignment, std::optional<double> spacing,
            std::vector<View> children) {
  return makeView(
      primitive::Stack{Axis::vertical, alignmentFraction(alignment), spacing, std::move(children)});
}

View HStack(VerticalAlignment alignment, std::optional<double> spacing,
            std::vector<View> children) {
  return makeView(primitive::Stack{Axis::horizontal, alignmentFraction(alignment), spacing,
                                   std::move(children)});
}

View ZStack(Alignment alignment, std::vector<View> children) {
  return makeView(primitive::Layered{alignment, std::move(children)});
}

View Group(std::vector<View> children) {
  return makeView(primitive::GroupList{std::move(children)});
}

View Spacer(std::optional<double> minLength) {
  return makeView(primitive::SpacerLength{minLength});
}

// Shapes and paints.

View fill(const ShapeGeometry& shape, const Paint& paint) {
  return makeView(primitive::Shape{shape, paint, std::nullopt, {}, false});
}

View stroke(const ShapeGeometry& shape, const Paint& paint, const StrokeStyle& style) {
  return makeView(primitive::Shape{shape, std::nullopt, paint, style, false});
}

View strokeBorder(const ShapeGeometry& shape, const Paint& paint, double lineWidth) {
  StrokeStyle style;
  style.lineWidth = lineWidth;
  return makeView(primitive::Shape{shape, std::nullopt, paint, style, true});
}

View PaintView(const Paint& paint) {
  return makeView(primitive::PaintFill{paint});
}

// Readers, state and links.

View GeometryReader(std::function<View(Size)> content) {
  return makeView(primitive::GeometryReading{std::move(content)});
}

View EnvironmentReader(std::function<View(const Environment&)> content) {
  return makeView(primitive::EnvironmentReading{std::move(content)});
}

View Stateful(double initial, std::function<View(const StateHandle&, const Environment&)> content) {
  return makeView(primitive::StateHolder{initial, std::move(content)});
}

View Link(std::string url, View label) {
  return makeView(primitive::LinkTo{std::move(url), std::move(label)});
}

}  // namespace kelpo::ui
