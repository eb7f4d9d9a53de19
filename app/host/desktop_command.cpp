// kelpo-widget desktop: shows the widget on the desktop and keeps it
// current, as a widget host keeps its widgets.

#include <cstdlib>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "base/preferences/preferences.h"
#include "command/command_error.h"
#include "command/common_options.h"
#include "desktop/desktop_host.h"
#include "host/host_verbs.h"
#include "launcher/autostart_entry.h"
#include "launcher/desktop_options.h"
#include "layouts/extension_context.h"
#include "snapshot/snapshot_store.h"
#include "timeline/provider.h"
#include "widget/shared_container.h"
#include "widget/widget_preferences.h"

namespace kelpo::app {
namespace {

[[nodiscard]] std::optional<std::string> given(const std::string& word) {
  if (word.empty()) return std::nullopt;
  return word;
}

[[nodiscard]] desktop::HostSettings resolveHostSettings(const DesktopOptions& options) {
  const desktop::SettingWords commandLine{.families = options.families,
                                          .corner = given(options.corner),
                                          .margin = given(options.margin),
                                          .monitor = given(options.monitor),
                                          .appearance = given(options.appearance),
                                          .reduceMotion = given(options.reduceMotion),
                                          .instances = {},
                                          .ignored = {}};
  const auto file = desktop::readSettingsFile(desktop::defaultSettingsFile());
  auto settings = desktop::resolveSettings(commandLine, file);
  if (!settings) throw CommandError(settings.error());
  return std::move(settings).value();
}

// One timeline request as a widget host makes it of a fresh extension
// context: the provider loads the snapshot (recording its accent), then the
// context starts and its accent state reads that record, as a new process
// would. So a changed accent shows on the reload that reads it, without
// restarting the window, even when the preference could not be saved.
[[nodiscard]] desktop::TimelineAnswer requestTimeline(const CommandContext& context,
                                                      WidgetFamily family) {
  Preferences preferences(widgetPreferencesLocation());
  const SnapshotStore store(sharedContainerDirectory(), preferences, *context.clock);
  const Provider provider(store, *context.clock, context.calendar);
  std::optional<Timeline> answer;
  provider.timeline(TimelineContext{.isPreview = false, .family = family},
                    [&](Timeline timeline) { answer = std::move(timeline); });
  if (!answer || answer->entries.empty()) throw CommandError("the provider gave no entry");
  const ExtensionContext extension(preferences);

  const Entry& entry = answer->entries.front();
  const EntryDrawing drawing{.family = family};
  return {extension.widgetView(entry), widgetEnvironment(entry, context.calendar, drawing),
          answer->reloadDate};
}

// Which options the autostart entry repeats: all of them for
// --install-autostart; from the menu, only those that leave the instances
// to desktop.ini, where the menu and drags keep them.
enum class RepeatedOptions { all, notInstances };

// The options given on this command line, as the autostart entry repeats
// them at login. A fixed --now would stop the widget's clock, so it stays out.
[[nodiscard]] std::vector<std::string> optionsToRepeat(
    const DesktopOptions& options, RepeatedOptions which = RepeatedOptions::all) {
  std::vector<std::string> words;
  const auto add = [&words](const char* name, const std::string& value) {
    if (value.empty()) return;
    words.emplace_back(name);
    words.push_back(value);
  };
  if (which == RepeatedOptions::all) {
    for (const std::string& family : options.families) add("--family", family);
    add("--corner", options.corner);
    add("--margin", options.margin);
    add("--monitor", options.monitor);
    add("--appearance", options.appearance);
  }
  add("--reduce-motion", options.reduceMotion);
  add("--locale", options.common.locale);
  add("--time-zone", options.common.timeZone);
  return words;
}

[[nodiscard]] bool startsAtLoginNow() {
  try {
    return startsAtLogin(AutostartDirectories::fromEnvironment());
  } catch (const CommandError&) {
    return false;  // no configuration directory: nothing starts it
  }
}

// The menu's "start at login": the same entry --install-autostart writes.
void setStartAtLogin(bool on, const std::vector<std::string>& repeated) {
  std::ostringstream said;
  try {
    if (on) {
      installAutostart(repeated, said);
    } else {
      removeAutostart(said);
    }
    std::cout << "kelpo-widget desktop: " << said.str() << std::flush;
  } catch (const CommandError& error) {
    std::cerr << "kelpo-widget desktop: " << error.what() << '\n';
  }
}

// Where the host's lines go: what it shows on stdout, as it happens; what it
// cannot do or what went wrong on stderr; frame times, for measurements,
// only when KELPO_DESKTOP_FRAME_LOG=1.
[[nodiscard]] desktop::HostReport hostReport() {
  const auto toStderr = [](const std::string& line) {
    std::cerr << "kelpo-widget desktop: " << line << '\n';
  };
  desktop::HostReport report{
      [](const std::string& shown) { std::cout << "kelpo-widget desktop: " << shown << std::endl; },
      toStderr, toStderr, nullptr};
  if (const char* log = std::getenv("KELPO_DESKTOP_FRAME_LOG"); log && std::string(log) == "1") {
    report.frameTime = [](const std::string& line) {
      std::cerr << "kelpo-desktop: " << line << std::endl;
    };
  }
  return report;
}

// What desktop.ini held that the widgets show without, said once: the
// widgets show all the same, so that a typo never costs a login's widgets.
void tellIgnored(const desktop::HostSettings& settings, const desktop::HostReport& report) {
  std::string said;
  for (const std::string& what : settings.ignored) said += (said.empty() ? "" : "; ") + what;
  if (settings.unshownInstances > 0) {
    said += std::string(said.empty() ? "" : "; ") + std::to_string(settings.unshownInstances) +
            " widgets beyond the first " + std::to_string(desktop::maxInstances) +
            ", not shown (a save drops them)";
  }
  if (said.empty()) return;
  report.tell(report.failure, desktop::defaultSettingsFile().string() + ": ignored: " + said);
}

int runDesktop(const DesktopOptions& options) {
  if (options.removeAutostart) {
    // Turning autostart off needs no settings: a broken desktop.ini must
    // not keep the widget starting at login.
    removeAutostart(std::cout);
    return 0;
  }
  const desktop::HostSettings settings = resolveHostSettings(options);
  if (options.installAutostart) {
    installAutostart(optionsToRepeat(options), std::cout);
    return 0;
  }
  desktop::HostReport report = hostReport();
  tellIgnored(settings, report);
  auto context = std::make_shared<CommandContext>(resolveContext(options.common));
  desktop::WidgetSource source{
      [context](WidgetFamily family) { return requestTimeline(*context, family); },
      options.common.now.empty(), [] { return startsAtLoginNow(); },
      [repeated = optionsToRepeat(options, RepeatedOptions::notInstances)](bool on) {
        setStartAtLogin(on, repeated);
      }};
  return desktop::runDesktopHost(settings, std::move(source), std::move(report));
}

}  // namespace

Verb addDesktopHostVerb(CLI::App& parent) {
  auto options = std::make_shared<DesktopOptions>();
  CLI::App& verb = addDesktopVerbCommand(parent, *options);
  return Verb{&verb, [options] { return runDesktop(*options); }};
}

}  // namespace kelpo::app
