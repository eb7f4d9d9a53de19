#include "layouts/kelpo_widget_view.h"

#include "style/mist_background.h"

namespace kelpo {

ui::View KelpoWidgetView::body() const {
  const WidgetMode widgetMode = mode(snapshot);
  // Only the small family gets the small layout; medium and any family the
  // widget does not offer get the medium one.
  auto layout = ui::EnvironmentReader([view = *this, widgetMode](const ui::Environment& env) {
    return env.widgetFamily == ui::WidgetFamily::systemSmall ? view.smallLayout(widgetMode)
                                                             : view.mediumLayout(widgetMode);
  });
  return ui::Group({std::move(layout)})
      .containerBackground(MistBackground{}.body())
      .widgetURL(widgetLink(widgetMode));
}

}  // namespace kelpo
