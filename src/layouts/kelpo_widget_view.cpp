#include "layouts/kelpo_widget_view.h"

#include <algorithm>
#include <memory>

#include "style/accent_state.h"
#include "style/mist_background.h"

namespace kelpo {
namespace {

// The view the layouts are built from: only the items it can show (the
// lists of a snapshot are not bounded, and the views built from it keep
// copies of the view) and its accent settled, so the layouts read no shared
// state.
[[nodiscard]] std::shared_ptr<const KelpoWidgetView> shownView(KelpoWidgetView view) {
  for (auto* list : {&view.snapshot.toSort, &view.snapshot.program}) {
    list->resize(std::min(list->size(), listedItemLimit));
  }
  view.accent = chosenOrSharedAccent(view.accent);
  return std::make_shared<const KelpoWidgetView>(std::move(view));
}

}  // namespace

ui::View KelpoWidgetView::body() const {
  const WidgetMode widgetMode = mode(snapshot);
  // Only the small family gets the small layout; medium and any family the
  // widget does not offer get the medium one.
  auto layout =
      ui::EnvironmentReader([view = shownView(*this), widgetMode](const ui::Environment& env) {
        return env.widgetFamily == ui::WidgetFamily::systemSmall ? view->smallLayout(widgetMode)
                                                                 : view->mediumLayout(widgetMode);
      });
  return ui::Group({std::move(layout)})
      .containerBackground(MistBackground{}.body())
      .widgetURL(widgetLink(widgetMode));
}

}  // namespace kelpo
