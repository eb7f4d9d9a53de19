#include "engine/layout/widget_layout.h"

#include "engine/layout/widget_geometry.h"

namespace kelpo::ui {

WidgetBuild buildWidget(const View& root, const Environment& environment,
                        const TextMeasurer& measurer, StateStore& state) {
  const WidgetGeometry geometry = widgetGeometry(environment.widgetSize);
  BuildSession session(environment, measurer, state);

  // Pass 1: resolve the tree (runs readers, gathers the widget's link and
  // background).
  state.beginBuild();
  const LayoutNodePtr content = asSingleNode(resolveView(root, ResolveScope{}, session));

  // Pass 2: place the content inside the margins, centred in the space they
  // leave.
  WidgetBuild build;
  LaidOutWidget& widget = build.widget;
  widget.size = geometry.size;
  widget.cornerRadius = geometry.cornerRadius;
  widget.colorScheme = environment.colorScheme;
  const Rect contentRect = geometry.contentRect();
  widget.content =
      placeAligned(*content, contentRect, Alignment::center(), ProposedSize::of(contentRect.size));

  // Pass 3: the container background fills the whole outline.
  if (session.containerBackground) {
    const LayoutNodePtr background = asSingleNode(std::move(session.containerBackground->content));
    const Rect outline{{0, 0}, geometry.size};
    widget.containerBackground =
        placeAligned(*background, outline, session.containerBackground->alignment,
                     ProposedSize::of(geometry.size));
  }
  widget.widgetURL = session.widgetURL;
  state.dropUnused();

  build.appears = std::move(session.appears);
  build.hovers = std::move(session.hovers);
  return build;
}

LaidOutNode layoutView(const View& view, Size available, const Environment& environment,
                       const TextMeasurer& measurer) {
  StateStore state(std::make_shared<const HostClock>());
  BuildSession session(environment, measurer, state);
  const LayoutNodePtr node = asSingleNode(resolveView(view, ResolveScope{}, session));
  return placeAt(*node, {0, 0}, ProposedSize::of(available));
}

LaidOutWidget layoutWidget(const View& root, const Environment& environment,
                           const TextMeasurer& measurer) {
  StateStore state(std::make_shared<const HostClock>());
  return buildWidget(root, environment, measurer, state).widget;
}

}  // namespace kelpo::ui
