#pragma once

#include "engine/views/view.h"
#include "layouts/widget_mode.h"
#include "snapshot/widget_snapshot.h"
#include "style/accent_theme.h"
#include "widget/widget_family.h"

namespace kelpo {

// The view of one timeline entry: the small layout for a small instance, the
// medium layout for a medium one, over the mist background, with the
// link of the widget's mode on the whole widget.
// The accent is the one the extension context's accent state read; the
// views take their palette from it and read no shared state.
struct KelpoWidgetView {
  WidgetSnapshot snapshot;
  AccentTheme accent = AccentTheme::braise;

  [[nodiscard]] ui::View body() const;

 private:
  // The layout of `family`.
  [[nodiscard]] ui::View layout(WidgetFamily family, WidgetMode widgetMode) const;
};

// `snapshot` with only the items a widget can show (listedItemLimit of each
// list), in lists no larger than those items.
[[nodiscard]] WidgetSnapshot shownSnapshot(WidgetSnapshot snapshot);

}  // namespace kelpo
