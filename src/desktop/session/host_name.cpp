#include "desktop/session/host_name.h"

#include "desktop/session/session_bus.h"

namespace kelpo::desktop {
namespace {

// Long enough for a busy bus, short enough that a second host stuck on a
// silent first one still ends.
constexpr int callTimeoutMilliseconds = 5000;

}  // namespace

HostName::HostName(GDBusConnection* bus, std::string name, std::string objectPath,
                   GActionGroup* actions, Outcome outcome)
    : bus_(G_DBUS_CONNECTION(g_object_ref(bus))),
      name_(std::move(name)),
      objectPath_(std::move(objectPath)),
      actions_(actions),
      outcome_(std::move(outcome)),
      cancellable_(g_cancellable_new()) {
  // No queueing: a name that is not ours at once belongs to another host.
  ownership_ =
      g_bus_own_name_on_connection(bus_.get(), name_.c_str(), G_BUS_NAME_OWNER_FLAGS_DO_NOT_QUEUE,
                                   &HostName::onAcquired, &HostName::onLost, this, nullptr);
}

HostName::~HostName() {
  g_cancellable_cancel(cancellable_.get());
  if (export_ != 0) g_dbus_connection_unexport_action_group(bus_.get(), export_);
  g_bus_unown_name(ownership_);
}

void HostName::onAcquired(GDBusConnection*, const gchar*, gpointer self) {
  auto& host = *static_cast<HostName*>(self);
  if (host.export_ != 0) return;
  host.export_ = g_dbus_connection_export_action_group(host.bus_.get(), host.objectPath_.c_str(),
                                                       host.actions_, nullptr);
  host.outcome_.alone();
}

void HostName::onLost(GDBusConnection* bus, const gchar*, gpointer self) {
  auto& host = *static_cast<HostName*>(self);
  if (bus == nullptr || host.export_ != 0) return;  // no bus any more, or lost once held
  // Refused, or owned by someone: only an owner makes this host a second one.
  g_dbus_connection_call(host.bus_.get(), "org.freedesktop.DBus", "/org/freedesktop/DBus",
                         "org.freedesktop.DBus", "GetNameOwner",
                         g_variant_new("(s)", host.name_.c_str()), G_VARIANT_TYPE("(s)"),
                         G_DBUS_CALL_FLAGS_NONE, callTimeoutMilliseconds, host.cancellable_.get(),
                         &HostName::onOwnerAnswered, self);
}

void HostName::onOwnerAnswered(GObject* bus, GAsyncResult* result, gpointer self) {
  GError* failure = nullptr;
  const VariantHandle owner(
      g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, &failure));
  const ErrorHandle owned(failure);
  if (wasCancelled(failure)) return;
  auto& host = *static_cast<HostName*>(self);
  if (!owner) {
    host.outcome_.alone();
    return;
  }
  // The first host forwards nothing: it is simply asked to reload.
  g_dbus_connection_call(host.bus_.get(), host.name_.c_str(), host.objectPath_.c_str(),
                         "org.gtk.Actions", "Activate",
                         g_variant_new("(sava{sv})", "reload", nullptr, nullptr), nullptr,
                         G_DBUS_CALL_FLAGS_NO_AUTO_START, callTimeoutMilliseconds,
                         host.cancellable_.get(), &HostName::onReloadAsked, self);
}

void HostName::onReloadAsked(GObject* bus, GAsyncResult* result, gpointer self) {
  GError* failure = nullptr;
  const VariantHandle reply(
      g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, &failure));
  const ErrorHandle owned(failure);
  if (wasCancelled(failure)) return;
  static_cast<HostName*>(self)->outcome_.anotherHostRuns();
}

}  // namespace kelpo::desktop
