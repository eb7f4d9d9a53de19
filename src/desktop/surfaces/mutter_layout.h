#pragma once

// The monitor layout of mutter (GNOME), asked on the session bus: under
// XWayland the X server names its monitors XWAYLAND0, XWAYLAND1, and only
// mutter knows which connector each one is.

#include <gio/gio.h>

#include <chrono>
#include <functional>
#include <vector>

#include "base/glib/glib_handles.h"
#include "desktop/handling/monitor_layout.h"

namespace kelpo::desktop {

// mutter's logical monitors with their connectors; empty when no mutter
// answers within `patience` (another compositor, no session bus).
[[nodiscard]] std::vector<LogicalMonitor> mutterLayout(std::chrono::milliseconds patience);

// The same question, asked without waiting: the answer comes from GLib's
// main loop, empty when mutter does not answer within `patience`. Never
// within the constructor. Dropping the question drops its answer.
class MutterLayoutQuestion {
 public:
  using Answer = std::function<void(std::vector<LogicalMonitor>)>;
  MutterLayoutQuestion(Answer answered, std::chrono::milliseconds patience);
  MutterLayoutQuestion(const MutterLayoutQuestion&) = delete;
  MutterLayoutQuestion& operator=(const MutterLayoutQuestion&) = delete;
  ~MutterLayoutQuestion();

 private:
  static void onState(GObject* bus, GAsyncResult* result, gpointer self);
  static gboolean onNoBus(gpointer self);

  Answer answered_;
  ObjectHandle<GCancellable> cancellable_;
  SourceHandle noBus_;
};

}  // namespace kelpo::desktop
