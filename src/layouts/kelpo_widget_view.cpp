#include "layouts/kelpo_widget_view.h"

#include <algorithm>
#include <memory>

#include "style/mist_background.h"

namespace kelpo {
namespace {

// The most items either layout lists: the medium layout's three rows.
constexpr std::size_t mostItemsShown = 3;

// The view with only the items it can show: the lists of a snapshot are
// not bounded, and the views built from it keep copies of the view.
[[nodiscard]] std::shared_ptr<const KelpoWidgetView> withItemsShown(KelpoWidgetView view) {
  for (auto* list : {&view.snapshot.toSort, &view.snapshot.program}) {
    list->resize(std::min(list->size(), mostItemsShown));
  }
  return std::make_shared<const KelpoWidgetView>(std::move(view));
}

}  // namespace

ui::View KelpoWidgetView::body() const {
  const WidgetMode widgetMode = mode(snapshot);
  // Only the small family gets the small layout; medium and any family the
  // widget does not offer get the medium one.
  auto layout =
      ui::EnvironmentReader([view = withItemsShown(*this), widgetMode](const ui::Environment& env) {
        return env.widgetFamily == ui::WidgetFamily::systemSmall ? view->smallLayout(widgetMode)
                                                                 : view->mediumLayout(widgetMode);
      });
  return ui::Group({std::move(layout)})
      .containerBackground(MistBackground{}.body())
      .widgetURL(widgetLink(widgetMode));
}

}  // namespace kelpo
