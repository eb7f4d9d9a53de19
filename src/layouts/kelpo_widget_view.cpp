#include "layouts/kelpo_widget_view.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <vector>

#include "layouts/medium_layout.h"
#include "layouts/small_layout.h"
#include "style/mist_background.h"
#include "widget/widget_family.h"

namespace kelpo {
namespace {

// The view the layouts are built from: only the items it can show (the
// views built from it keep copies of the view).
[[nodiscard]] std::shared_ptr<const KelpoWidgetView> shownView(const KelpoWidgetView& view) {
  return std::make_shared<const KelpoWidgetView>(
      KelpoWidgetView{shownSnapshot(view.snapshot), view.accent});
}

}  // namespace

WidgetSnapshot shownSnapshot(WidgetSnapshot snapshot) {
  // The kept items go to lists of their own size: a list only shortened
  // keeps its whole buffer (4 MB for 40,000 items), for as long as the
  // host shows the widget.
  for (auto* list : {&snapshot.toSort, &snapshot.program}) {
    const auto kept = static_cast<std::ptrdiff_t>(std::min(list->size(), listedItemLimit));
    *list = std::vector<WidgetSnapshot::Item>(std::make_move_iterator(list->begin()),
                                              std::make_move_iterator(list->begin() + kept));
  }
  return snapshot;
}

// One layout per family: a new size is a new case here, which the compiler
// asks for.
ui::View KelpoWidgetView::layout(WidgetFamily family, WidgetMode widgetMode) const {
  switch (family) {
    case WidgetFamily::systemSmall:
      return SmallLayout{snapshot, accent}.body(widgetMode);
    case WidgetFamily::systemMedium:
      break;
  }
  return MediumLayout{snapshot, accent}.body(widgetMode);
}

ui::View KelpoWidgetView::body() const {
  const WidgetMode widgetMode = mode(snapshot);
  auto layout =
      ui::EnvironmentReader([view = shownView(*this), widgetMode](const ui::Environment& env) {
        // An outline the table does not know gets the medium layout.
        const auto family = widgetFamilyOfOutline(env.widgetSize.width, env.widgetSize.height);
        return view->layout(family.value_or(WidgetFamily::systemMedium), widgetMode);
      });
  return ui::Group({std::move(layout)})
      .containerBackground(MistBackground{}.body())
      .widgetURL(widgetLink(widgetMode));
}

}  // namespace kelpo
