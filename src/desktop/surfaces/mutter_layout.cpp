#include "desktop/surfaces/mutter_layout.h"

#include <gio/gio.h>

#include <string>

#include "base/glib/glib_handles.h"

namespace kelpo::desktop {
namespace {

// GetCurrentState's answer: serial, physical monitors, logical monitors
// (x, y, scale, transform, primary, their monitors' connector, vendor,
// product and serial, properties), properties.
constexpr const char* currentStateType =
    "(ua((ssss)a(siiddada{sv})a{sv})a(iiduba(ssss)a{sv})a{sv})";

[[nodiscard]] std::vector<LogicalMonitor> logicalMonitorsOf(GVariant* state) {
  std::vector<LogicalMonitor> layout;
  const VariantHandle logical(g_variant_get_child_value(state, 2));
  GVariantIter monitors;
  g_variant_iter_init(&monitors, logical.get());
  while (GVariant* raw = g_variant_iter_next_value(&monitors)) {
    const VariantHandle monitor(raw);
    gint32 x = 0;
    gint32 y = 0;
    g_variant_get_child(monitor.get(), 0, "i", &x);
    g_variant_get_child(monitor.get(), 1, "i", &y);
    LogicalMonitor entry{{static_cast<double>(x), static_cast<double>(y)}, {}};
    const VariantHandle shown(g_variant_get_child_value(monitor.get(), 5));
    GVariantIter connectors;
    g_variant_iter_init(&connectors, shown.get());
    const gchar* connector = nullptr;
    while (g_variant_iter_next(&connectors, "(&s&s&s&s)", &connector, nullptr, nullptr, nullptr)) {
      entry.connectors.emplace_back(connector);
    }
    layout.push_back(std::move(entry));
  }
  return layout;
}

}  // namespace

std::vector<LogicalMonitor> mutterLayout(std::chrono::milliseconds patience) {
  GError* failure = nullptr;
  const ObjectHandle<GDBusConnection> bus(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &failure));
  if (!bus) {
    const ErrorHandle owned(failure);
    return {};
  }
  const VariantHandle state(g_dbus_connection_call_sync(
      bus.get(), "org.gnome.Mutter.DisplayConfig", "/org/gnome/Mutter/DisplayConfig",
      "org.gnome.Mutter.DisplayConfig", "GetCurrentState", nullptr,
      G_VARIANT_TYPE(currentStateType), G_DBUS_CALL_FLAGS_NO_AUTO_START,
      static_cast<gint>(patience.count()), nullptr, &failure));
  if (!state) {
    const ErrorHandle owned(failure);
    return {};
  }
  return logicalMonitorsOf(state.get());
}

}  // namespace kelpo::desktop
