#include "platform/desktop/desktop_host.h"

#include <glib-unix.h>
#include <gtk/gtk.h>

#include <csignal>
#include <exception>
#include <iostream>
#include <memory>
#include <optional>
#include <vector>

#include "platform/clock.h"
#include "platform/desktop/color_scheme_watch.h"
#include "platform/desktop/desktop_route.h"
#include "platform/desktop/directory_watch.h"
#include "platform/desktop/display_backend.h"
#include "platform/desktop/wall_clock_deadline.h"
#include "platform/desktop/widget_window.h"
#include "platform/shared_container.h"
#include "platform/ui/text/pango_text_measurer.h"

namespace kelpo::desktop {
namespace {

constexpr const char* snapshotFileName = "widget.json";
constexpr const char* reloadAction = "reload";

// What reaches the host from outside. Each adapter turns its own event into
// one of these; `LiveHost::handle` alone decides what follows.
enum class HostEvent {
  reloadDateReached,
  snapshotChanged,
  reloadAsked,
  appearanceChanged,
};

void openLink(const std::string& url) {
  GError* failure = nullptr;
  if (!g_app_info_launch_default_for_uri(url.c_str(), nullptr, &failure)) {
    const ErrorHandle owned(failure);
    std::cerr << "kelpo-widget desktop: cannot open " << url << ": " << messageOf(failure) << '\n';
  }
}

// Everything that lives while the widget is shown, made when the application
// activates and released in reverse order when it shuts down.
class LiveHost {
 public:
  LiveHost(GtkApplication* application, HostSettings settings, WidgetSource source,
           const DesktopRoute& route, const HostReport& report)
      : settings_(std::move(settings)),
        source_(std::move(source)),
        colorScheme_([this](ui::ColorScheme) { handle(HostEvent::appearanceChanged); }),
        deadline_([this] { handle(HostEvent::reloadDateReached); }) {
    for (std::size_t i = 0; i < settings_.families.size(); ++i) {
      windows_.push_back(
          std::make_unique<WidgetWindow>(application, WindowPlacement{settings_.placement, 0},
                                         route.make(), measurer_, &openLink, report.shown));
    }
    if (const auto container = sharedContainerLocation()) {
      watch_.emplace(*container, snapshotFileName, [this] { handle(HostEvent::snapshotChanged); });
    }
    reload();
  }

  void handle(HostEvent event) {
    switch (event) {
      case HostEvent::reloadDateReached:
      case HostEvent::snapshotChanged:
      case HostEvent::reloadAsked:
        reload();
        return;
      case HostEvent::appearanceChanged:
        // The entry stays; only its colours change.
        for (const auto& window : windows_) window->setColorScheme(colorScheme());
        return;
    }
  }

 private:
  [[nodiscard]] ui::ColorScheme colorScheme() const {
    switch (settings_.appearance) {
      case AppearanceChoice::light:
        return ui::ColorScheme::light;
      case AppearanceChoice::dark:
        return ui::ColorScheme::dark;
      case AppearanceChoice::automatic:
        break;
    }
    return colorScheme_.current();
  }

  [[nodiscard]] bool reduceMotion() const {
    switch (settings_.reduceMotion) {
      case MotionChoice::on:
        return true;
      case MotionChoice::off:
        return false;
      case MotionChoice::automatic:
        break;
    }
    return gtkPrefersReducedMotion();
  }

  // One timeline request per instance. A request that fails leaves that
  // instance's last frame on screen; the failure is told once, until a
  // request succeeds again.
  void reload() {
    std::optional<Instant> nextReload;
    double offset = 0;
    for (std::size_t i = 0; i < windows_.size(); ++i) {
      WidgetWindow& window = *windows_[i];
      // Before it shows: an instance that appears at the corner and then
      // moves along the edge would flash over the one before it.
      window.setPlacementOffset(offset);
      try {
        TimelineAnswer answer = source_.timeline(settings_.families[i]);
        if (!nextReload || answer.reloadDate < *nextReload) nextReload = answer.reloadDate;
        window.show(std::move(answer), colorScheme(), reduceMotion());
        failing_ = false;
      } catch (const std::exception& error) {
        tellFailure(error.what());
      } catch (...) {
        tellFailure("unknown error");
      }
      if (const auto size = window.size()) offset += size->height + settings_.placement.margin;
    }
    if (source_.followsWallClock) {
      // Without an answer, try again after the shortest reload delay.
      deadline_.arm(nextReload.value_or(SystemClock().now() + std::chrono::minutes(15)));
    }
  }

  void tellFailure(const char* what) {
    if (failing_) return;
    failing_ = true;
    std::cerr << "kelpo-widget desktop: the timeline request failed (" << what
              << "); the last frame stays\n";
  }

  HostSettings settings_;
  WidgetSource source_;
  ui::PangoTextMeasurer measurer_;
  ColorSchemeWatch colorScheme_;
  WallClockDeadline deadline_;
  std::vector<std::unique_ptr<WidgetWindow>> windows_;
  std::optional<DirectoryWatch> watch_;
  bool failing_ = false;
};

struct RunState {
  const HostSettings& settings;
  WidgetSource source;
  DesktopRoute route;
  HostReport report;
  std::unique_ptr<LiveHost> host;
};

gboolean onStopSignal(gpointer application) {
  g_application_quit(G_APPLICATION(application));
  return G_SOURCE_CONTINUE;
}

void onActivate(GApplication* application, gpointer data) {
  auto& state = *static_cast<RunState*>(data);
  if (state.host) {
    // Another `desktop` started in this session: it forwards here.
    state.host->handle(HostEvent::reloadAsked);
    return;
  }
  g_application_hold(application);
  state.host = std::make_unique<LiveHost>(GTK_APPLICATION(application), state.settings,
                                          std::move(state.source), state.route, state.report);
}

void onReload(GSimpleAction*, GVariant*, gpointer data) {
  auto& state = *static_cast<RunState*>(data);
  if (state.host) state.host->handle(HostEvent::reloadAsked);
}

void onShutdown(GApplication*, gpointer data) {
  static_cast<RunState*>(data)->host.reset();
}

}  // namespace

int runDesktopHost(const HostSettings& settings, WidgetSource source, HostReport report) {
  // We draw in software: GTK's GL probe would map Mesa and LLVM for nothing
  // (some 55 MB of memory on X11).
  g_setenv("GDK_GL", "disable", TRUE);
  chooseDisplayBackend();
  if (!gtk_init_check(nullptr, nullptr)) {
    std::cerr << "kelpo-widget desktop: no display could be opened (DISPLAY or WAYLAND_DISPLAY)\n";
    return 1;
  }

  RunState state{settings, std::move(source), chooseDesktopRoute(gdk_display_get_default()),
                 std::move(report), nullptr};
  if (!state.route.loss.empty() && state.report.limitation) {
    state.report.limitation(state.route.loss);
  }
  const ObjectHandle<GtkApplication> application(
      gtk_application_new(hostApplicationId, G_APPLICATION_DEFAULT_FLAGS));
  GApplication* app = G_APPLICATION(application.get());

  const ObjectHandle<GSimpleAction> reload(g_simple_action_new(reloadAction, nullptr));
  g_signal_connect(reload.get(), "activate", G_CALLBACK(&onReload), &state);
  g_action_map_add_action(G_ACTION_MAP(app), G_ACTION(reload.get()));
  g_signal_connect(app, "activate", G_CALLBACK(&onActivate), &state);
  g_signal_connect(app, "shutdown", G_CALLBACK(&onShutdown), &state);

  GError* failure = nullptr;
  if (!g_application_register(app, nullptr, &failure)) {
    const ErrorHandle owned(failure);
    std::cerr << "kelpo-widget desktop: cannot register on the session bus: " << messageOf(failure)
              << '\n';
    return 1;
  }
  if (g_application_get_is_remote(app)) {
    // Running a remote instance activates the first one, which reloads.
    (void)g_application_run(app, 0, nullptr);
    std::cerr << "kelpo-widget desktop: the widget already shows in this session; it was asked "
                 "to reload\n";
    return 1;
  }

  const SourceHandle interrupt(g_unix_signal_add(SIGINT, &onStopSignal, app));
  const SourceHandle terminate(g_unix_signal_add(SIGTERM, &onStopSignal, app));
  const int ran = g_application_run(app, 0, nullptr);
  state.host.reset();
  return ran;
}

}  // namespace kelpo::desktop
