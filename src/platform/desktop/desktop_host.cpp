#include "platform/desktop/desktop_host.h"

#include <glib-unix.h>
#include <gtk/gtk.h>
#include <malloc.h>
#include <pthread.h>

#include <csignal>
#include <exception>
#include <iostream>
#include <memory>
#include <optional>
#include <vector>

#include "platform/clock.h"
#include "platform/desktop/accessibility_bridge.h"
#include "platform/desktop/color_scheme_watch.h"
#include "platform/desktop/directory_watch.h"
#include "platform/desktop/display_scale.h"
#include "platform/desktop/host_name.h"
#include "platform/desktop/session_bus.h"
#include "platform/desktop/wall_clock_deadline.h"
#include "platform/desktop/widget_window.h"
#include "platform/shared_container.h"
#include "platform/ui/text/pango_text_measurer.h"

namespace kelpo::desktop {
namespace {

constexpr const char* snapshotFileName = "widget.json";
constexpr const char* reloadAction = "reload";
// About one frame of a 60 Hz display: appearance changes closer together
// than this show as one frame.
constexpr guint appearanceFrameMilliseconds = 16;

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

// Everything that lives while the widget is shown, made before the main loop
// runs and released in reverse order when it ends.
class LiveHost {
 public:
  LiveHost(HostSettings settings, WidgetSource source)
      : settings_(std::move(settings)),
        source_(std::move(source)),
        colorScheme_([this](ui::ColorScheme) { handle(HostEvent::appearanceChanged); }),
        deadline_([this] { handle(HostEvent::reloadDateReached); }) {
    for (std::size_t i = 0; i < settings_.families.size(); ++i) {
      // Windows of no GtkApplication (see runDesktopHost).
      windows_.push_back(std::make_unique<WidgetWindow>(
          nullptr, WindowPlacement{settings_.placement, 0}, measurer_, &openLink));
    }
    if (const auto container = sharedContainerLocation()) {
      watch_.emplace(*container, snapshotFileName, [this] { handle(HostEvent::snapshotChanged); });
    }
    reload();
  }

  void handle(HostEvent event) {
    switch (event) {
      case HostEvent::reloadAsked:
        colorScheme_.refresh();
        reload();
        return;
      case HostEvent::reloadDateReached:
      case HostEvent::snapshotChanged:
        reload();
        return;
      case HostEvent::appearanceChanged:
        // The entry stays; only its colours change, in the next frame, so
        // that a burst of changes costs one frame rather than one each.
        if (!appearanceFrame_.active()) {
          appearanceFrame_ = SourceHandle(
              g_timeout_add(appearanceFrameMilliseconds, &LiveHost::onAppearanceFrame, this));
        }
        return;
    }
  }

  // The session's services, once its bus answers.
  void followSession(GDBusConnection* bus) { colorScheme_.follow(bus); }

 private:
  static gboolean onAppearanceFrame(gpointer self) {
    auto& host = *static_cast<LiveHost*>(self);
    host.appearanceFrame_.forget();
    for (const auto& window : host.windows_) window->setColorScheme(host.colorScheme());
    return G_SOURCE_REMOVE;
  }

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
      window.setPlacementOffset(offset);
      if (const auto size = window.size()) offset += size->height + settings_.placement.margin;
    }
    if (source_.followsWallClock) {
      // Without an answer, try again after the shortest reload delay.
      deadline_.arm(nextReload.value_or(SystemClock().now() + std::chrono::minutes(15)));
    }
    // The entry just dropped may have been a large one (an 8 MB snapshot
    // takes some 70 MB to decode and lay out); give its pages back rather
    // than keep them for the rest of the session.
    malloc_trim(0);
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
  SourceHandle appearanceFrame_;
  bool failing_ = false;
};

struct RunState {
  RunState(const HostSettings& givenSettings, GMainLoop* mainLoop, GActionGroup* hostActions,
           AccessibilityBridge& bridge)
      : settings(givenSettings), loop(mainLoop), actions(hostActions), accessibility(bridge) {}

  const HostSettings& settings;
  GMainLoop* loop;
  GActionGroup* actions;
  AccessibilityBridge& accessibility;
  std::unique_ptr<LiveHost> host;
  // Made after the host, released before it: they call into it.
  std::unique_ptr<SessionBusRequest> busRequest;
  std::unique_ptr<HostName> name;
  int status = 0;
};

void letStopSignalsThrough() {
  sigset_t stops;
  sigemptyset(&stops);
  sigaddset(&stops, SIGINT);
  sigaddset(&stops, SIGTERM);
  pthread_sigmask(SIG_UNBLOCK, &stops, nullptr);
}

gboolean onStopSignal(gpointer loop) {
  g_main_loop_quit(static_cast<GMainLoop*>(loop));
  return G_SOURCE_CONTINUE;
}

void onAnotherHost(RunState& state) {
  std::cerr << "kelpo-widget desktop: the widget already shows in this session; it was asked "
               "to reload\n";
  state.status = 1;
  g_main_loop_quit(state.loop);
}

void onSessionBus(RunState& state, GDBusConnection* bus) {
  state.host->followSession(bus);
  state.accessibility.join(bus);
  state.name = std::make_unique<HostName>(bus, hostApplicationId, hostObjectPath, state.actions,
                                          [&state] { onAnotherHost(state); });
}

void onReload(GSimpleAction*, GVariant*, gpointer data) {
  auto& state = *static_cast<RunState*>(data);
  if (state.host) state.host->handle(HostEvent::reloadAsked);
}

}  // namespace

int runDesktopHost(const HostSettings& settings, WidgetSource source) {
  // SIGINT and SIGTERM end the host with 0 from here on, also while GTK
  // opens the display: they are taken before anything else, then let
  // through (`kelpo-widget desktop` holds them back while it hands over).
  const MainLoopHandle loop(g_main_loop_new(nullptr, FALSE));
  const SourceHandle interrupt(g_unix_signal_add(SIGINT, &onStopSignal, loop.get()));
  const SourceHandle terminate(g_unix_signal_add(SIGTERM, &onStopSignal, loop.get()));
  letStopSignalsThrough();
  if (const auto refused = refusedDisplayScale(g_getenv("GDK_SCALE"))) {
    std::cerr << "kelpo-widget desktop: " << *refused << '\n';
    return 1;
  }
  // We draw in software: GTK's GL probe would map Mesa and LLVM for nothing
  // (some 55 MB of memory on X11).
  g_setenv("GDK_GL", "disable", TRUE);
  AccessibilityBridge accessibility;
  const bool opened = gtk_init_check(nullptr, nullptr) != FALSE;
  accessibility.displayOpened();
  if (!opened) {
    std::cerr << "kelpo-widget desktop: no display could be opened (DISPLAY or WAYLAND_DISPLAY)\n";
    return 1;
  }

  // A plain main loop, not a GApplication: registering one connects to the
  // session bus and takes its name before anything is shown, waiting as
  // long as the bus does. The name is taken later, by HostName.
  const ObjectHandle<GSimpleActionGroup> actions(g_simple_action_group_new());
  RunState state(settings, loop.get(), G_ACTION_GROUP(actions.get()), accessibility);
  const ObjectHandle<GSimpleAction> reload(g_simple_action_new(reloadAction, nullptr));
  g_signal_connect(reload.get(), "activate", G_CALLBACK(&onReload), &state);
  g_action_map_add_action(G_ACTION_MAP(actions.get()), G_ACTION(reload.get()));

  // The windows and their first frame come first; the session bus is only
  // asked for, and its services join when it answers.
  state.host = std::make_unique<LiveHost>(settings, std::move(source));
  state.busRequest = std::make_unique<SessionBusRequest>(
      [&state](GDBusConnection* bus) { onSessionBus(state, bus); });
  g_main_loop_run(loop.get());

  state.name.reset();
  state.busRequest.reset();
  state.host.reset();
  return state.status;
}

}  // namespace kelpo::desktop
