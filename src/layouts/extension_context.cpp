#include "layouts/extension_context.h"

#include <memory>

#include "base/files/resource_directory.h"
#include "base/locale/phrases.h"
#include "engine/layout/view_host.h"
#include "layouts/kelpo_widget_view.h"
#include "widget/widget_preferences.h"

namespace kelpo {

ui::Environment widgetEnvironment(const Entry& entry, const CalendarContext& calendar,
                                  const EntryDrawing& drawing) {
  ui::Environment environment;
  const WidgetSize& size = widgetSize(drawing.family);
  environment.widgetSize = {size.width, size.height};
  environment.colorScheme = drawing.colorScheme;
  environment.accessibilityReduceMotion = drawing.reduceMotion;
  environment.locale = calendar.localeId();
  environment.timeZone = calendar.timeZoneId();
  environment.now = entry.date;
  environment.phrases = std::make_shared<const PhraseBook>(
      PhraseBook::forLocale(calendar.localeId(), widgetResourceDirectory() / "phrases"));
  return environment;
}

ExtensionContext ExtensionContext::afterLoading(const WidgetSnapshot& snapshot) {
  // Preferences without a file keep what they are told in memory only.
  Preferences recorded(std::nullopt);
  recorded.setString(accentPreferenceKey, snapshot.accent);
  return ExtensionContext(recorded);
}

ui::View ExtensionContext::widgetView(const Entry& entry) const {
  return KelpoWidgetView{entry.snapshot, accent()}.body();
}

ui::LaidOutWidget ExtensionContext::layOut(const Entry& entry, const CalendarContext& calendar,
                                           const EntryDrawing& drawing,
                                           const ui::TextMeasurer& measurer) const {
  ui::ViewHost host(widgetView(entry), widgetEnvironment(entry, calendar, drawing), measurer);
  // The widget appears at 0 s: its appear callbacks run then, and whatever
  // they start plays on until the requested moment.
  ui::LaidOutWidget appearing = host.frameAt(0);
  if (drawing.secondsAfterAppearing <= 0) return appearing;
  return host.frameAt(drawing.secondsAfterAppearing);
}

}  // namespace kelpo
