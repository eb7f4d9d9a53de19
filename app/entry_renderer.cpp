#include "entry_renderer.h"

#include <memory>

#include "layouts/kelpo_widget_view.h"
#include "platform/phrases.h"
#include "platform/resource_directory.h"
#include "platform/ui/layout/view_host.h"

namespace kelpo::app {

ui::Environment widgetEnvironment(const Entry& entry, const CalendarContext& calendar,
                                  const EntryDrawing& drawing) {
  ui::Environment environment;
  environment.widgetFamily = drawing.family;
  environment.colorScheme = drawing.colorScheme;
  environment.accessibilityReduceMotion = drawing.reduceMotion;
  environment.locale = calendar.localeId();
  environment.timeZone = calendar.timeZoneId();
  environment.now = entry.date;
  environment.phrases = std::make_shared<const PhraseBook>(
      PhraseBook::forLocale(calendar.localeId(), widgetResourceDirectory() / "phrases"));
  return environment;
}

ui::View entryView(const Entry& entry, AccentTheme accent) {
  return KelpoWidgetView{entry.snapshot, accent}.body();
}

ui::LaidOutWidget layOutEntry(const Entry& entry, AccentTheme accent,
                              const CalendarContext& calendar, const EntryDrawing& drawing,
                              const ui::TextMeasurer& measurer) {
  ui::ViewHost host(entryView(entry, accent), widgetEnvironment(entry, calendar, drawing),
                    measurer);
  // The widget appears at 0 s: its appear callbacks run then, and whatever
  // they start plays on until the requested moment.
  ui::LaidOutWidget appearing = host.frameAt(0);
  if (drawing.secondsAfterAppearing <= 0) return appearing;
  return host.frameAt(drawing.secondsAfterAppearing);
}

}  // namespace kelpo::app
