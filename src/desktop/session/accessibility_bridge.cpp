#include "desktop/session/accessibility_bridge.h"

#include <atk-bridge.h>

#include "desktop/session/session_bus.h"

namespace kelpo::desktop {
namespace {

constexpr const char* bridgeSwitch = "NO_AT_BRIDGE";

}  // namespace

AccessibilityBridge::AccessibilityBridge()
    : wanted_(g_getenv(bridgeSwitch) == nullptr), cancellable_(g_cancellable_new()) {
  if (!wanted_) return;
  // Read once, while GTK opens the display; nothing else runs yet.
  held_ = g_setenv(bridgeSwitch, "1", TRUE) != FALSE;
}

AccessibilityBridge::~AccessibilityBridge() {
  g_cancellable_cancel(cancellable_.get());
  displayOpened();
}

void AccessibilityBridge::displayOpened() {
  if (held_) g_unsetenv(bridgeSwitch);
  held_ = false;
}

void AccessibilityBridge::join(GDBusConnection* bus) {
  if (!wanted_) return;
  // The launcher may be started for this call (as GTK's call would start
  // it), which is why it is made here, without waiting for it.
  g_dbus_connection_call(bus, "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress",
                         nullptr, G_VARIANT_TYPE("(s)"), G_DBUS_CALL_FLAGS_NONE, -1,
                         cancellable_.get(), &AccessibilityBridge::onAddress, this);
}

void AccessibilityBridge::onAddress(GObject* bus, GAsyncResult* result, gpointer self) {
  GError* failure = nullptr;
  const VariantHandle address(
      g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, &failure));
  const ErrorHandle owned(failure);
  if (wasCancelled(failure) || !address) return;
  auto& bridge = *static_cast<AccessibilityBridge*>(self);
  bridge.wanted_ = false;  // once
  // The bridge asks again, synchronously, but of a bus and a launcher that
  // just answered.
  atk_bridge_adaptor_init(nullptr, nullptr);
}

}  // namespace kelpo::desktop
