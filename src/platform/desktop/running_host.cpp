#include <string>

#include "platform/desktop/desktop_host.h"
#include "platform/desktop/glib_handles.h"

namespace kelpo::desktop {
namespace {

constexpr int callTimeoutMilliseconds = 2000;

}  // namespace

bool askRunningHostToReload(std::string& error) {
  GError* failure = nullptr;
  const ObjectHandle<GDBusConnection> bus(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &failure));
  if (!bus) {
    const ErrorHandle owned(failure);
    error = "no session bus: " + messageOf(failure);
    return false;
  }
  // The action is asked for without starting anything: no host, no reload.
  const VariantHandle reply(g_dbus_connection_call_sync(
      bus.get(), hostApplicationId, hostObjectPath, "org.gtk.Actions", "Activate",
      g_variant_new("(sava{sv})", "reload", nullptr, nullptr), nullptr,
      G_DBUS_CALL_FLAGS_NO_AUTO_START, callTimeoutMilliseconds, nullptr, &failure));
  if (!reply) {
    const ErrorHandle owned(failure);
    if (g_error_matches(failure, G_DBUS_ERROR, G_DBUS_ERROR_NAME_HAS_NO_OWNER) ||
        g_error_matches(failure, G_DBUS_ERROR, G_DBUS_ERROR_SERVICE_UNKNOWN)) {
      error = "no widget host runs in this session (start one with `kelpo-widget desktop`)";
    } else {
      error = "the widget host did not answer: " + messageOf(failure);
    }
    return false;
  }
  return true;
}

}  // namespace kelpo::desktop
