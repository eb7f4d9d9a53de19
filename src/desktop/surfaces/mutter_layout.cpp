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
    gdouble scale = 1;
    g_variant_get_child(monitor.get(), 0, "i", &x);
    g_variant_get_child(monitor.get(), 1, "i", &y);
    g_variant_get_child(monitor.get(), 2, "d", &scale);
    LogicalMonitor entry{{static_cast<double>(x), static_cast<double>(y)}, {}, scale};
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

constexpr const char* displayConfig = "org.gnome.Mutter.DisplayConfig";
constexpr const char* displayConfigPath = "/org/gnome/Mutter/DisplayConfig";

}  // namespace

std::vector<LogicalMonitor> mutterLayout(std::chrono::milliseconds patience) {
  GError* failure = nullptr;
  const ObjectHandle<GDBusConnection> bus(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &failure));
  if (!bus) {
    const ErrorHandle owned(failure);
    return {};
  }
  const VariantHandle state(g_dbus_connection_call_sync(
      bus.get(), displayConfig, displayConfigPath, displayConfig, "GetCurrentState", nullptr,
      G_VARIANT_TYPE(currentStateType), G_DBUS_CALL_FLAGS_NO_AUTO_START,
      static_cast<gint>(patience.count()), nullptr, &failure));
  if (!state) {
    const ErrorHandle owned(failure);
    return {};
  }
  return logicalMonitorsOf(state.get());
}

MutterLayoutQuestion::MutterLayoutQuestion(Answer answered, std::chrono::milliseconds patience)
    : answered_(std::move(answered)), cancellable_(g_cancellable_new()) {
  // The bus the host already holds (GIO keeps one per process).
  GError* failure = nullptr;
  const ObjectHandle<GDBusConnection> bus(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &failure));
  if (!bus) {
    const ErrorHandle owned(failure);
    noBus_ = SourceHandle(g_idle_add(&MutterLayoutQuestion::onNoBus, this));
    return;
  }
  g_dbus_connection_call(bus.get(), displayConfig, displayConfigPath, displayConfig,
                         "GetCurrentState", nullptr, G_VARIANT_TYPE(currentStateType),
                         G_DBUS_CALL_FLAGS_NO_AUTO_START, static_cast<gint>(patience.count()),
                         cancellable_.get(), &MutterLayoutQuestion::onState, this);
}

MutterLayoutQuestion::~MutterLayoutQuestion() {
  // The reply, if still to come, finds the question cancelled and leaves
  // it alone.
  g_cancellable_cancel(cancellable_.get());
}

void MutterLayoutQuestion::onState(GObject* bus, GAsyncResult* result, gpointer self) {
  GError* failure = nullptr;
  const VariantHandle state(
      g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, &failure));
  const ErrorHandle owned(failure);
  if (g_error_matches(failure, G_IO_ERROR, G_IO_ERROR_CANCELLED)) return;
  auto& question = *static_cast<MutterLayoutQuestion*>(self);
  question.answered_(state ? logicalMonitorsOf(state.get()) : std::vector<LogicalMonitor>{});
}

gboolean MutterLayoutQuestion::onNoBus(gpointer self) {
  auto& question = *static_cast<MutterLayoutQuestion*>(self);
  question.noBus_.forget();
  question.answered_({});
  return G_SOURCE_REMOVE;
}

}  // namespace kelpo::desktop
