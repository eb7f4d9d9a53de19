#include "engine/layout/layout_resolver.h"

#include <type_traits>

#include "engine/cairo/bitmap.h"
#include "engine/layout/container_layouts.h"
#include "engine/layout/frame_layouts.h"
#include "engine/layout/leaf_layouts.h"
#include "engine/layout/stack_layout.h"
#include "engine/text/text_styling.h"
#include "engine/views/view_node.h"

namespace kelpo::ui {

namespace {

// A spacer's least length when none is given.
constexpr double defaultSpacerMinLength = 8;

ResolveScope childScope(const ResolveScope& scope, std::size_t index,
                        std::optional<Axis> stackAxis) {
  ResolveScope child = scope;
  child.identity = scope.identity + "/" + std::to_string(index);
  child.stackAxis = stackAxis;
  return child;
}

// The scope of content that is not part of the flow it is attached to
// (backgrounds, overlays, reader content).
ResolveScope detachedScope(const ResolveScope& scope, const char* role) {
  ResolveScope detached = scope;
  detached.identity = scope.identity + "/" + role;
  detached.stackAxis = std::nullopt;
  return detached;
}

std::string withIdentity(const std::string& identity, const std::string& id) {
  const auto slash = identity.rfind('/');
  const std::string parent = slash == std::string::npos ? "" : identity.substr(0, slash);
  return parent + "/#" + id;
}

const char* shapeName(ShapeGeometry::Kind kind) {
  switch (kind) {
    case ShapeGeometry::Kind::rectangle:
      return "Rectangle";
    case ShapeGeometry::Kind::roundedRectangle:
      return "RoundedRectangle";
    case ShapeGeometry::Kind::circle:
      return "Circle";
  }
  return "Shape";
}

const char* paintName(const Paint& paint) {
  if (std::holds_alternative<LinearGradient>(paint)) return "LinearGradient";
  if (std::holds_alternative<RadialGradient>(paint)) return "RadialGradient";
  return "Color";
}

Effect effectOf(Effect::Kind kind) {
  Effect effect;
  effect.kind = kind;
  return effect;
}

void append(LayoutList& to, LayoutList from) {
  for (auto& node : from) to.push_back(std::move(node));
}

LayoutList just(LayoutNodePtr node) {
  LayoutList list;
  list.push_back(std::move(node));
  return list;
}

class Resolver {
 public:
  Resolver(const ResolveScope& scope, BuildSession& session) : scope_(scope), session_(session) {}

  LayoutList operator()(const primitive::Empty&) const { return {}; }

  LayoutList operator()(const primitive::TextRuns& text) const {
    return just(std::make_unique<TextViewLayout>(
        styleText(text.runs, scope_.text, session_.environment), session_.measurer));
  }

  LayoutList operator()(const primitive::Symbol& symbol) const {
    return just(std::make_unique<SymbolLayout>(symbol.name, scope_.text.font,
                                               scope_.text.foreground, session_.measurer));
  }

  LayoutList operator()(const primitive::PictureFile& picture) const {
    return just(std::make_unique<BitmapLayout>(Bitmap::loadPng(picture.file), picture.resizable));
  }

  LayoutList operator()(const primitive::Stack& stack) const {
    LayoutList children;
    for (std::size_t i = 0; i < stack.children.size(); ++i)
      append(children, resolveView(stack.children[i], childScope(scope_, i, stack.axis), session_));
    return just(std::make_unique<StackLayout>(stack.axis, stack.crossAlignment, stack.spacing,
                                              std::move(children)));
  }

  LayoutList operator()(const primitive::Layered& layered) const {
    LayoutList children;
    for (std::size_t i = 0; i < layered.children.size(); ++i)
      append(children,
             resolveView(layered.children[i], childScope(scope_, i, std::nullopt), session_));
    return just(std::make_unique<LayeredLayout>("ZStack", layered.alignment, std::move(children)));
  }

  // A group's children join the list of whatever holds the group.
  LayoutList operator()(const primitive::GroupList& group) const {
    LayoutList children;
    for (std::size_t i = 0; i < group.children.size(); ++i)
      append(children,
             resolveView(group.children[i], childScope(scope_, i, scope_.stackAxis), session_));
    return children;
  }

  LayoutList operator()(const primitive::SpacerLength& spacer) const {
    return just(std::make_unique<SpacerLayout>(spacer.minLength.value_or(defaultSpacerMinLength),
                                               scope_.stackAxis));
  }

  LayoutList operator()(const primitive::Shape& shape) const {
    LaidOutNode prototype;
    prototype.kind = LaidOutNode::Kind::shape;
    prototype.name = shapeName(shape.geometry.kind);
    prototype.shape = shape.geometry;
    prototype.fill = shape.fill;
    prototype.strokePaint = shape.stroke;
    prototype.strokeStyle = shape.strokeStyle;
    prototype.strokeInside = shape.strokeInside;
    return just(std::make_unique<ShapeLayout>(std::move(prototype)));
  }

  LayoutList operator()(const primitive::PaintFill& paint) const {
    LaidOutNode prototype;
    prototype.kind = LaidOutNode::Kind::paint;
    prototype.name = paintName(paint.paint);
    prototype.paint = paint.paint;
    return just(std::make_unique<ShapeLayout>(std::move(prototype)));
  }

  // The reader's content is resolved when the reader is placed, for the
  // size it was given; the session outlives the placement.
  LayoutList operator()(const primitive::GeometryReading& reader) const {
    BuildSession* session = &session_;
    SizedContent content = [build = reader.content, scope = detachedScope(scope_, "geometry"),
                            session](Size size) {
      return resolveView(build(size), scope, *session);
    };
    return just(std::make_unique<GeometryReaderLayout>(std::move(content)));
  }

  LayoutList operator()(const primitive::EnvironmentReading& reader) const {
    return resolveView(reader.content(session_.environment), scope_, session_);
  }

  LayoutList operator()(const primitive::StateHolder& holder) const {
    const StateHandle handle(
        session_.state.cell(session_.occurrenceKey(scope_.identity, "state"), holder.initial));
    ResolveScope inner = scope_;
    inner.identity += "/state";
    return resolveView(holder.content(handle, session_.environment), inner, session_);
  }

  LayoutList operator()(const primitive::LinkTo& link) const {
    LayoutList label = resolveView(link.label, scope_, session_);
    if (label.empty()) return {};
    Effect effect = effectOf(Effect::Kind::link);
    effect.link = link.url;
    return just(std::make_unique<EffectLayout>(asSingleNode(std::move(label)), std::move(effect)));
  }

  LayoutList operator()(const Modified& modified) const;

 private:
  const ResolveScope& scope_;
  BuildSession& session_;
};

// Applies one modifier to each node of its content.
class ModifierResolver {
 public:
  ModifierResolver(const View& child, const ResolveScope& scope, BuildSession& session)
      : child_(child), scope_(scope), session_(session) {}

  LayoutList operator()(const modifier::FixedFrame& m) const {
    return wrapEach([&](LayoutNodePtr node) {
      return std::make_unique<FixedFrameLayout>(std::move(node), m.width, m.height, m.alignment);
    });
  }
  LayoutList operator()(const modifier::FlexFrame& m) const {
    return wrapEach([&](LayoutNodePtr node) {
      return std::make_unique<FlexibleFrameLayout>(std::move(node), m.bounds);
    });
  }
  LayoutList operator()(const modifier::Padding& m) const {
    return wrapEach([&](LayoutNodePtr node) {
      return std::make_unique<PaddingLayout>(std::move(node), m.insets);
    });
  }
  LayoutList operator()(const modifier::FixedSize& m) const {
    return wrapEach([&](LayoutNodePtr node) {
      return std::make_unique<FixedSizeLayout>(std::move(node), m.horizontal, m.vertical);
    });
  }
  LayoutList operator()(const modifier::AspectRatio& m) const {
    return wrapEach([&](LayoutNodePtr node) {
      return std::make_unique<AspectRatioLayout>(std::move(node), m.ratio, m.mode);
    });
  }
  LayoutList operator()(const modifier::Offset& m) const {
    Effect e = effectOf(Effect::Kind::offset);
    e.offset = {m.x, m.y};
    return withEffect(e);
  }
  LayoutList operator()(const modifier::Rotation& m) const {
    Effect e = effectOf(Effect::Kind::rotation);
    e.rotationDegrees = m.degrees;
    return withEffect(e);
  }
  LayoutList operator()(const modifier::Opacity& m) const {
    Effect e = effectOf(Effect::Kind::opacity);
    e.opacity = m.value;
    return withEffect(e);
  }
  LayoutList operator()(const modifier::Clip& m) const {
    Effect e = effectOf(Effect::Kind::clip);
    e.clip = m.shape;
    return withEffect(e);
  }
  LayoutList operator()(const modifier::DropShadow& m) const {
    Effect e = effectOf(Effect::Kind::shadow);
    e.shadow = m.shadow;
    return withEffect(e);
  }
  LayoutList operator()(const modifier::HitTesting& m) const {
    Effect e = effectOf(Effect::Kind::hitTesting);
    e.hitTestable = m.enabled;
    return withEffect(e);
  }
  LayoutList operator()(const modifier::Background& m) const {
    return decorated(m.content, m.alignment, Layer::behind);
  }
  LayoutList operator()(const modifier::Overlay& m) const {
    return decorated(m.content, m.alignment, Layer::over);
  }

  LayoutList operator()(const modifier::TextStyleChange& m) const {
    ResolveScope inner = scope_;
    m.apply(inner.text);
    return resolveView(child_, inner, session_);
  }
  LayoutList operator()(const modifier::Identity& m) const {
    ResolveScope inner = scope_;
    inner.identity = withIdentity(scope_.identity, m.id);
    return resolveView(child_, inner, session_);
  }
  LayoutList operator()(const modifier::OnAppear& m) const {
    LayoutList nodes = content();
    for (std::size_t i = 0; i < nodes.size(); ++i)
      session_.appears.push_back({session_.occurrenceKey(scope_.identity, "appear"), m.action});
    return nodes;
  }
  LayoutList operator()(const modifier::OnHover& m) const {
    BuildSession* session = &session_;
    return wrapEach([&](LayoutNodePtr node) {
      PlacementObserver observer = [session, key = session_.occurrenceKey(scope_.identity, "hover"),
                                    action = m.action](const Rect& frame) {
        session->hovers.push_back({key, frame, action});
      };
      return std::make_unique<EffectLayout>(std::move(node), std::move(observer));
    });
  }
  LayoutList operator()(const modifier::AccessibilityIgnoreChildren&) const {
    Effect e = effectOf(Effect::Kind::accessibility);
    e.accessibilityElement = true;
    return withEffect(e);
  }
  LayoutList operator()(const modifier::AccessibilityLabel& m) const {
    Effect e = effectOf(Effect::Kind::accessibility);
    e.accessibilityLabel = plainText(m.runs, session_.environment);
    return withEffect(e);
  }
  LayoutList operator()(const modifier::AccessibilityValue& m) const {
    Effect e = effectOf(Effect::Kind::accessibility);
    e.accessibilityValue = plainText(m.runs, session_.environment);
    return withEffect(e);
  }
  LayoutList operator()(const modifier::AccessibilityHidden& m) const {
    Effect e = effectOf(Effect::Kind::accessibility);
    e.accessibilityHidden = m.hidden;
    return withEffect(e);
  }
  LayoutList operator()(const modifier::ContainerBackground& m) const {
    if (!session_.containerBackground) {
      session_.containerBackground = BuildSession::ContainerBackground{
          resolveView(m.content, detachedScope(scope_, "containerBackground"), session_),
          m.alignment};
    }
    return content();
  }
  LayoutList operator()(const modifier::WidgetURL& m) const {
    if (!session_.widgetURL) session_.widgetURL = m.url;
    return content();
  }
  // The content margins of a widget are not a safe area: the modifier
  // leaves the layout as it is (a container background already fills the
  // whole outline).
  LayoutList operator()(const modifier::IgnoresSafeArea&) const { return content(); }

 private:
  LayoutList content() const { return resolveView(child_, scope_, session_); }

  template <class Wrap>
  LayoutList wrapEach(Wrap wrap) const {
    LayoutList nodes = content();
    for (auto& node : nodes) node = wrap(std::move(node));
    return nodes;
  }

  LayoutList withEffect(const Effect& effect) const {
    return wrapEach([&](LayoutNodePtr node) {
      return std::make_unique<EffectLayout>(std::move(node), effect);
    });
  }

  LayoutList decorated(const View& decoration, Alignment alignment, Layer layer) const {
    const char* role = layer == Layer::behind ? "background" : "overlay";
    return wrapEach([&](LayoutNodePtr node) {
      return std::make_unique<DecorationLayout>(
          std::move(node), resolveView(decoration, detachedScope(scope_, role), session_),
          alignment, layer);
    });
  }

  const View& child_;
  const ResolveScope& scope_;
  BuildSession& session_;
};

LayoutList Resolver::operator()(const Modified& modified) const {
  return std::visit(ModifierResolver(modified.child, scope_, session_), modified.modifier);
}

}  // namespace

std::string BuildSession::occurrenceKey(const std::string& identity, const char* kind) {
  std::string key = identity + "|" + kind;
  const int n = occurrences_[key]++;
  return key + "#" + std::to_string(n);
}

LayoutList resolveView(const View& view, const ResolveScope& scope, BuildSession& session) {
  if (!view.node()) return {};
  return std::visit(Resolver(scope, session), view.node()->content);
}

LayoutNodePtr asSingleNode(LayoutList list) {
  if (list.size() == 1) return std::move(list.front());
  return std::make_unique<LayeredLayout>("Group", Alignment::center(), std::move(list));
}

}  // namespace kelpo::ui
