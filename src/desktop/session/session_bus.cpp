#include "desktop/session/session_bus.h"

namespace kelpo::desktop {

bool wasCancelled(const GError* error) {
  return g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
}

SessionBusRequest::SessionBusRequest(Connected connected)
    : connected_(std::move(connected)), cancellable_(g_cancellable_new()) {
  g_bus_get(G_BUS_TYPE_SESSION, cancellable_.get(), &SessionBusRequest::onReady, this);
}

SessionBusRequest::~SessionBusRequest() {
  g_cancellable_cancel(cancellable_.get());
}

void SessionBusRequest::onReady(GObject*, GAsyncResult* result, gpointer self) {
  GError* failure = nullptr;
  const ObjectHandle<GDBusConnection> bus(g_bus_get_finish(result, &failure));
  const ErrorHandle owned(failure);
  if (wasCancelled(failure) || !bus) return;
  static_cast<SessionBusRequest*>(self)->connected_(bus.get());
}

}  // namespace kelpo::desktop
