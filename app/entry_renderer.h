#pragma once

#include "platform/calendar.h"
#include "platform/ui/layout/layout_tree.h"
#include "platform/ui/text/text_layout.h"
#include "platform/ui/views/environment.h"
#include "platform/ui/views/view.h"
#include "style/accent_theme.h"
#include "timeline/entry.h"

namespace kelpo::app {

// One drawing of an entry, as the desktop's widget host would ask for it.
struct EntryDrawing {
  ui::WidgetFamily family = ui::WidgetFamily::systemSmall;
  ui::ColorScheme colorScheme = ui::ColorScheme::light;
  bool reduceMotion = false;
  double secondsAfterAppearing = 0;
};

// The environment the host gives the views: the instance's family and
// appearance, the user's locale, zone and phrases, and the entry's date as
// the current time.
[[nodiscard]] ui::Environment widgetEnvironment(const Entry& entry, const CalendarContext& calendar,
                                                const EntryDrawing& drawing);

// The entry's KelpoWidgetView in `accent`, as the views to run.
[[nodiscard]] ui::View entryView(const Entry& entry, AccentTheme accent);

// Builds the entry's KelpoWidgetView in that environment, runs it for the
// requested time after it appears (so a sheen in flight is caught at that
// instant) and lays it out.
[[nodiscard]] ui::LaidOutWidget layOutEntry(const Entry& entry, AccentTheme accent,
                                            const CalendarContext& calendar,
                                            const EntryDrawing& drawing,
                                            const ui::TextMeasurer& measurer);

}  // namespace kelpo::app
