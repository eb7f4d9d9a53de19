// kelpo-widget desktop: shows the widget on the desktop and keeps it
// current, as a widget host keeps its widgets.

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "autostart_entry.h"
#include "command_error.h"
#include "common_options.h"
#include "desktop_options.h"
#include "entry_renderer.h"
#include "platform/desktop/desktop_host.h"
#include "platform/preferences.h"
#include "platform/shared_container.h"
#include "snapshot/snapshot_store.h"
#include "style/accent_state.h"
#include "timeline/provider.h"
#include "verbs.h"

namespace kelpo::app {
namespace {

[[nodiscard]] std::optional<std::string> given(const std::string& word) {
  if (word.empty()) return std::nullopt;
  return word;
}

[[nodiscard]] desktop::HostSettings resolveHostSettings(const DesktopOptions& options) {
  const desktop::SettingWords commandLine{options.families,          given(options.corner),
                                          given(options.margin),     given(options.monitor),
                                          given(options.appearance), given(options.reduceMotion)};
  std::string error;
  const auto file = desktop::readSettingsFile(desktop::defaultSettingsFile(), error);
  if (!file) throw CommandError(error);
  auto settings = desktop::resolveSettings(commandLine, *file, error);
  if (!settings) throw CommandError(error);
  return std::move(*settings);
}

// One timeline request as a widget host makes it of a fresh extension
// process: the provider loads the snapshot (recording its accent), and the
// accent state is read again from that record, as a new process would read
// it when first used. So a changed accent shows on the reload that reads
// it, without restarting the window.
[[nodiscard]] desktop::TimelineAnswer requestTimeline(const CommandContext& context,
                                                      WidgetFamily family) {
  Preferences preferences(Preferences::defaultLocation());
  const SnapshotStore store(sharedContainerDirectory(), preferences, *context.clock);
  const Provider provider(store, *context.clock, context.calendar);
  std::optional<Timeline> answer;
  provider.timeline(TimelineContext{.isPreview = false, .family = family},
                    [&](Timeline timeline) { answer = std::move(timeline); });
  if (!answer || answer->entries.empty()) throw CommandError("the provider gave no entry");
  AccentState::shared().setValue(
      AccentState::themeFromPreference(preferences.string(accentPreferenceKey)));

  const Entry& entry = answer->entries.front();
  const EntryDrawing drawing{.family = family};
  return {entryView(entry, AccentState::shared().value()),
          widgetEnvironment(entry, context.calendar, drawing), answer->reloadDate};
}

// The options given on this command line, as the autostart entry repeats
// them at login. A fixed --now would stop the widget's clock, so it stays out.
[[nodiscard]] std::vector<std::string> optionsToRepeat(const DesktopOptions& options) {
  std::vector<std::string> words;
  const auto add = [&words](const char* name, const std::string& value) {
    if (value.empty()) return;
    words.emplace_back(name);
    words.push_back(value);
  };
  for (const std::string& family : options.families) add("--family", family);
  add("--corner", options.corner);
  add("--margin", options.margin);
  add("--monitor", options.monitor);
  add("--appearance", options.appearance);
  add("--reduce-motion", options.reduceMotion);
  add("--locale", options.common.locale);
  add("--time-zone", options.common.timeZone);
  return words;
}

int runDesktop(const DesktopOptions& options) {
  const desktop::HostSettings settings = resolveHostSettings(options);
  if (options.installAutostart) {
    installAutostart(optionsToRepeat(options), std::cout);
    return 0;
  }
  if (options.removeAutostart) {
    removeAutostart(std::cout);
    return 0;
  }
  auto context = std::make_shared<CommandContext>(resolveContext(options.common));
  desktop::WidgetSource source{
      [context](WidgetFamily family) { return requestTimeline(*context, family); },
      options.common.now.empty()};
  desktop::HostReport report{
      [](const std::string& shown) { std::cout << "kelpo-widget desktop: " << shown << std::endl; },
      [](const std::string& limit) { std::cerr << "kelpo-widget desktop: " << limit << '\n'; }};
  return desktop::runDesktopHost(settings, std::move(source), std::move(report));
}

}  // namespace

Verb addDesktopVerb(CLI::App& parent) {
  auto options = std::make_shared<DesktopOptions>();
  CLI::App& verb = addDesktopVerbCommand(parent, *options);
  return Verb{&verb, [options] { return runDesktop(*options); }};
}

}  // namespace kelpo::app
