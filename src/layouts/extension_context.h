#pragma once

#include "base/preferences/preferences.h"
#include "base/time/calendar.h"
#include "engine/layout/layout_tree.h"
#include "engine/text/text_layout.h"
#include "engine/views/environment.h"
#include "engine/views/view.h"
#include "snapshot/widget_snapshot.h"
#include "style/accent_state.h"
#include "timeline/entry.h"
#include "widget/widget_family.h"

namespace kelpo {

// One drawing of an entry, as the desktop's widget host would ask for it.
struct EntryDrawing {
  WidgetFamily family = WidgetFamily::systemSmall;
  ui::ColorScheme colorScheme = ui::ColorScheme::light;
  bool reduceMotion = false;
  double secondsAfterAppearing = 0;
};

// The environment the host gives the views: the instance's family and
// appearance, the user's locale, zone and phrases, and the entry's date as
// the current time.
[[nodiscard]] ui::Environment widgetEnvironment(const Entry& entry, const CalendarContext& calendar,
                                                const EntryDrawing& drawing);

// A widget extension context, as a widget host starts one to answer a
// request: its accent state is read once, when it starts, from the
// preferences the request's load has just written. Both programs turn
// entries into views only through one, so the theme drawn is always the one
// the last load recorded.
class ExtensionContext {
 public:
  explicit ExtensionContext(const Preferences& preferences) : accent_(preferences) {}

  // The context a load of `snapshot` would have left: for a record drawn
  // without a load (a file named on the command line, the gallery's
  // examples). Nothing is written anywhere.
  [[nodiscard]] static ExtensionContext afterLoading(const WidgetSnapshot& snapshot);

  [[nodiscard]] AccentTheme accent() const { return accent_.value(); }

  // The entry's KelpoWidgetView, as the views to run.
  [[nodiscard]] ui::View widgetView(const Entry& entry) const;

  // Builds the entry's view in the drawing's environment, runs it for the
  // requested time after it appears (so a sheen in flight is caught at that
  // instant) and lays it out.
  [[nodiscard]] ui::LaidOutWidget layOut(const Entry& entry, const CalendarContext& calendar,
                                         const EntryDrawing& drawing,
                                         const ui::TextMeasurer& measurer) const;

 private:
  AccentState accent_;
};

}  // namespace kelpo
