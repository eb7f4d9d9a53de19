#pragma once

// The desktop host's GLib handles: the value handles every layer shares,
// and the main-loop source the host alone keeps.

#include <gio/gio.h>
#include <glib.h>

#include <utility>

#include "platform/glib/glib_handles.h"

namespace kelpo::desktop {

using MainLoopHandle = std::unique_ptr<GMainLoop, handle_detail::Releaser<g_main_loop_unref>>;

// A GLib source attached to the default main context, removed when the
// handle goes.
class SourceHandle {
 public:
  SourceHandle() = default;
  explicit SourceHandle(guint id) : id_(id) {}
  SourceHandle(SourceHandle&& other) noexcept : id_(std::exchange(other.id_, 0)) {}
  SourceHandle& operator=(SourceHandle&& other) noexcept {
    if (this != &other) {
      reset();
      id_ = std::exchange(other.id_, 0);
    }
    return *this;
  }
  SourceHandle(const SourceHandle&) = delete;
  SourceHandle& operator=(const SourceHandle&) = delete;
  ~SourceHandle() { reset(); }

  [[nodiscard]] bool active() const { return id_ != 0; }
  // For a source that ended itself (its callback returned G_SOURCE_REMOVE).
  void forget() { id_ = 0; }
  void reset() {
    if (id_ != 0) g_source_remove(std::exchange(id_, 0));
  }

 private:
  guint id_ = 0;
};

}  // namespace kelpo::desktop
