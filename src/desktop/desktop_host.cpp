#include "desktop/desktop_host.h"

#include <glib-unix.h>
#include <gtk/gtk.h>
#include <malloc.h>
#include <pthread.h>

#include <csignal>
#include <memory>

#include "desktop/live_host.h"
#include "desktop/session/accessibility_bridge.h"
#include "desktop/session/host_name.h"
#include "desktop/session/session_bus.h"
#include "desktop/settings/display_scale.h"
#include "desktop/surfaces/desktop_route.h"
#include "desktop/surfaces/display_backend.h"

namespace kelpo::desktop {
namespace {

constexpr const char* reloadAction = "reload";
// How long the windows wait for the host's name before they show anyway.
// A bus that answers gives it in a few milliseconds, and a second host then
// leaves without ever showing a window; a bus that does not costs the
// first frame this much.
constexpr guint nameWaitMilliseconds = 250;

struct RunState {
  RunState(const HostSettings& givenSettings, WidgetSource widgetSource, DesktopRoute desktopRoute,
           const HostReport& hostReport, GMainLoop* mainLoop, GActionGroup* hostActions,
           AccessibilityBridge& bridge)
      : settings(givenSettings),
        source(std::move(widgetSource)),
        route(std::move(desktopRoute)),
        report(hostReport),
        loop(mainLoop),
        actions(hostActions),
        accessibility(bridge) {}

  const HostSettings& settings;
  WidgetSource source;  // until the host takes it
  DesktopRoute route;
  const HostReport& report;
  GMainLoop* loop;
  GActionGroup* actions;
  AccessibilityBridge& accessibility;
  std::unique_ptr<LiveHost> host;
  ObjectHandle<GDBusConnection> bus;
  // Made after the host, released before it: they call into it.
  std::unique_ptr<SessionBusRequest> busRequest;
  std::unique_ptr<HostName> name;
  SourceHandle nameWait;
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
  state.report.tell(state.report.failure,
                    "the widget already shows in this session; it was asked to reload");
  state.status = 1;
  g_main_loop_quit(state.loop);
}

void showWidget(RunState& state) {
  state.nameWait.reset();
  if (state.host) return;
  state.host = std::make_unique<LiveHost>(state.settings, std::move(state.source), state.route,
                                          state.report, [&state] { g_main_loop_quit(state.loop); });
  if (state.bus) state.host->followSession(state.bus.get());
}

gboolean onNameWaitOver(gpointer data) {
  auto& state = *static_cast<RunState*>(data);
  state.nameWait.forget();
  showWidget(state);
  return G_SOURCE_REMOVE;
}

void onSessionBus(RunState& state, GDBusConnection* bus) {
  state.bus.reset(G_DBUS_CONNECTION(g_object_ref(bus)));
  if (state.host) state.host->followSession(bus);
  state.accessibility.join(bus);
  state.name = std::make_unique<HostName>(
      bus, hostApplicationId, hostObjectPath, state.actions,
      HostName::Outcome{[&state] { showWidget(state); }, [&state] { onAnotherHost(state); }});
}

void onReload(GSimpleAction*, GVariant*, gpointer data) {
  auto& state = *static_cast<RunState*>(data);
  if (state.host) state.host->handle(HostEvent::reloadAsked);
}

}  // namespace

int runDesktopHost(const HostSettings& settings, WidgetSource source, HostReport report) {
  // One allocator arena for every thread, before any starts: GLib's bus
  // and worker threads allocate little, and arenas of their own would each
  // keep their pages for the whole session.
  mallopt(M_ARENA_MAX, 1);
  // SIGINT and SIGTERM end the host with 0 from here on, also while GTK
  // opens the display: they are taken before anything else, then let
  // through (`kelpo-widget desktop` holds them back while it hands over).
  const MainLoopHandle loop(g_main_loop_new(nullptr, FALSE));
  const SourceHandle interrupt(g_unix_signal_add(SIGINT, &onStopSignal, loop.get()));
  const SourceHandle terminate(g_unix_signal_add(SIGTERM, &onStopSignal, loop.get()));
  letStopSignalsThrough();
  if (const auto refused = refusedDisplayScale(g_getenv("GDK_SCALE"))) {
    report.tell(report.failure, *refused);
    return 1;
  }
  // We draw in software: GTK's GL probe would map Mesa and LLVM for nothing
  // (some 55 MB of memory on X11).
  g_setenv("GDK_GL", "disable", TRUE);
  AccessibilityBridge accessibility;
  // Before GTK opens a display: on a Wayland compositor without layer-shell
  // the widget goes through XWayland when it can.
  chooseDisplayBackend();
  const bool opened = gtk_init_check(nullptr, nullptr) != FALSE;
  accessibility.displayOpened();
  if (!opened) {
    report.tell(report.failure, "no display could be opened (DISPLAY or WAYLAND_DISPLAY)");
    return 1;
  }
  DesktopRoute route = chooseDesktopRoute(gdk_display_get_default());
  if (!route.loss.empty()) report.tell(report.limitation, route.loss);

  // A plain main loop, not a GApplication: registering one connects to the
  // session bus and takes its name before anything is shown, waiting as
  // long as the bus does. The name is taken later, by HostName.
  const ObjectHandle<GSimpleActionGroup> actions(g_simple_action_group_new());
  RunState state(settings, std::move(source), std::move(route), report, loop.get(),
                 G_ACTION_GROUP(actions.get()), accessibility);
  const ObjectHandle<GSimpleAction> reload(g_simple_action_new(reloadAction, nullptr));
  g_signal_connect(reload.get(), "activate", G_CALLBACK(&onReload), &state);
  g_action_map_add_action(G_ACTION_MAP(actions.get()), G_ACTION(reload.get()));

  // The windows show once the host's name is settled, or after a moment
  // whatever the bus does; the session's services join when it answers.
  state.busRequest = std::make_unique<SessionBusRequest>(
      [&state](GDBusConnection* bus) { onSessionBus(state, bus); });
  state.nameWait = SourceHandle(g_timeout_add(nameWaitMilliseconds, &onNameWaitOver, &state));
  g_main_loop_run(loop.get());

  state.nameWait.reset();
  state.name.reset();
  state.busRequest.reset();
  state.host.reset();
  return state.status;
}

}  // namespace kelpo::desktop
