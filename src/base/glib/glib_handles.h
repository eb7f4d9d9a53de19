#pragma once

// Owning handles for GLib and GObject values, so each is released exactly
// once, whatever path a function leaves by. Every layer that holds a GLib
// value (preferences, text, drawing, the desktop host) takes them from here.

#include <glib-object.h>
#include <glib.h>

#include <memory>
#include <string>
#include <utility>

namespace kelpo {

namespace handle_detail {
struct ObjectReleaser {
  void operator()(void* object) const noexcept {
    if (object != nullptr) g_object_unref(object);
  }
};
template <auto Release>
struct Releaser {
  template <typename T>
  void operator()(T* object) const noexcept {
    if (object != nullptr) Release(object);
  }
};
}  // namespace handle_detail

// Holds one reference to a GObject; made from a pointer whose reference it
// takes over.
template <typename T>
using ObjectHandle = std::unique_ptr<T, handle_detail::ObjectReleaser>;
using ErrorHandle = std::unique_ptr<GError, handle_detail::Releaser<g_error_free>>;
using KeyFileHandle = std::unique_ptr<GKeyFile, handle_detail::Releaser<g_key_file_unref>>;
using VariantHandle = std::unique_ptr<GVariant, handle_detail::Releaser<g_variant_unref>>;
using CharsHandle = std::unique_ptr<gchar, handle_detail::Releaser<g_free>>;

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

// The message of a GError, or `fallback` when there is none.
[[nodiscard]] inline std::string messageOf(const GError* error,
                                           const char* fallback = "unknown error") {
  return error != nullptr && error->message != nullptr ? error->message : fallback;
}

}  // namespace kelpo
