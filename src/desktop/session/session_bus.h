#pragma once

// The session bus, asked for without waiting: the connection is handed over
// when (and if ever) the bus answers, so that nothing on the way to the
// first frame depends on the session's services. A bus that never answers
// only means a widget without them.

#include <gio/gio.h>

#include <functional>

#include "base/glib/glib_handles.h"

namespace kelpo::desktop {

class SessionBusRequest {
 public:
  using Connected = std::function<void(GDBusConnection*)>;

  // `connected` runs once on the main loop with the connection, never when
  // the bus cannot be reached or the request went first.
  explicit SessionBusRequest(Connected connected);
  SessionBusRequest(const SessionBusRequest&) = delete;
  SessionBusRequest& operator=(const SessionBusRequest&) = delete;
  ~SessionBusRequest();

 private:
  static void onReady(GObject*, GAsyncResult* result, gpointer self);

  Connected connected_;
  ObjectHandle<GCancellable> cancellable_;
};

// Whether an asynchronous call ended because its owner cancelled it, in
// which case the owner may be gone and its callback must not touch it.
// (GTask reports a cancelled call as cancelled even when its answer came
// first, so this check is enough.)
[[nodiscard]] bool wasCancelled(const GError* error);

}  // namespace kelpo::desktop
