#pragma once

// The bridge to the accessibility bus, started once the session answers.
// GTK starts it while it opens the display, and the bridge asks the session
// bus where the accessibility bus is with a blocking call: a session bus
// that never answers held GTK's start for ever, one that refuses everything
// 25 s. So GTK is kept from starting it, and it is started here after the
// accessibility bus's launcher has answered, when the call is quick.

#include <gio/gio.h>

#include "base/glib/glib_handles.h"

namespace kelpo::desktop {

class AccessibilityBridge {
 public:
  // Before GTK opens the display: keeps GTK from starting the bridge,
  // unless the user turned it off anyway (NO_AT_BRIDGE).
  AccessibilityBridge();
  AccessibilityBridge(const AccessibilityBridge&) = delete;
  AccessibilityBridge& operator=(const AccessibilityBridge&) = delete;
  ~AccessibilityBridge();

  // After GTK opened the display: the environment as the user gave it, for
  // the bridge and for every program the widget starts.
  void displayOpened();
  // Starts the bridge once the accessibility bus's launcher answers on
  // `bus`.
  void join(GDBusConnection* bus);

 private:
  static void onAddress(GObject* bus, GAsyncResult* result, gpointer self);

  bool wanted_;
  bool held_ = false;  // NO_AT_BRIDGE set here, until the display is open
  ObjectHandle<GCancellable> cancellable_;
};

}  // namespace kelpo::desktop
