#include <gio/gio.h>

#include <memory>
#include <string>

#include "desktop/desktop_host.h"
#include "base/glib/glib_handles.h"

namespace kelpo::desktop {
namespace {

constexpr int callTimeoutMilliseconds = 2000;

using ContextHandle = std::unique_ptr<GMainContext, handle_detail::Releaser<g_main_context_unref>>;

struct PendingBus {
  bool done = false;
  ObjectHandle<GDBusConnection> bus;
  ErrorHandle failure;
};

void onBus(GObject*, GAsyncResult* result, gpointer data) {
  auto& pending = *static_cast<PendingBus*>(data);
  GError* failure = nullptr;
  pending.bus.reset(g_bus_get_finish(result, &failure));
  pending.failure.reset(failure);
  pending.done = true;
}

gboolean onTimeout(gpointer) {
  return G_SOURCE_REMOVE;
}

// The session bus, or nothing after `milliseconds`: g_bus_get_sync waits as
// long as the bus does, for ever on one that takes the connection and
// never answers.
[[nodiscard]] Result<ObjectHandle<GDBusConnection>> sessionBusWithin(int milliseconds) {
  const ContextHandle context(g_main_context_new());
  g_main_context_push_thread_default(context.get());
  PendingBus pending;
  const ObjectHandle<GCancellable> cancellable(g_cancellable_new());
  g_bus_get(G_BUS_TYPE_SESSION, cancellable.get(), &onBus, &pending);
  GSource* timeout = g_timeout_source_new(static_cast<guint>(milliseconds));
  g_source_set_callback(timeout, &onTimeout, nullptr, nullptr);
  g_source_attach(timeout, context.get());
  const gint64 end = g_get_monotonic_time() + gint64{milliseconds} * 1000;
  while (!pending.done && g_get_monotonic_time() < end)
    g_main_context_iteration(context.get(), TRUE);
  g_source_destroy(timeout);
  g_source_unref(timeout);
  // A late answer is dropped: the context is never run again.
  g_cancellable_cancel(cancellable.get());
  g_main_context_pop_thread_default(context.get());
  if (!pending.bus) {
    return Failure{"no session bus: " + (pending.done ? messageOf(pending.failure.get())
                                                      : std::string("it did not answer"))};
  }
  return std::move(pending.bus);
}

}  // namespace

Status askRunningHostToReload() {
  const auto bus = sessionBusWithin(callTimeoutMilliseconds);
  if (!bus) return bus.failure();
  GError* failure = nullptr;
  // The action is asked for without starting anything: no host, no reload.
  const VariantHandle reply(g_dbus_connection_call_sync(
      bus->get(), hostApplicationId, hostObjectPath, "org.gtk.Actions", "Activate",
      g_variant_new("(sava{sv})", "reload", nullptr, nullptr), nullptr,
      G_DBUS_CALL_FLAGS_NO_AUTO_START, callTimeoutMilliseconds, nullptr, &failure));
  if (!reply) {
    const ErrorHandle owned(failure);
    if (g_error_matches(failure, G_DBUS_ERROR, G_DBUS_ERROR_NAME_HAS_NO_OWNER) ||
        g_error_matches(failure, G_DBUS_ERROR, G_DBUS_ERROR_SERVICE_UNKNOWN)) {
      return Failure{"no widget host runs in this session (start one with `kelpo-widget desktop`)"};
    }
    return Failure{"the widget host did not answer: " + messageOf(failure)};
  }
  return Done{};
}

}  // namespace kelpo::desktop
