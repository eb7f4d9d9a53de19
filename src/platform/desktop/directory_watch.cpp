#include "platform/desktop/directory_watch.h"

namespace kelpo::desktop {

DirectoryWatch::DirectoryWatch(const std::filesystem::path& directory, std::string fileName,
                               std::function<void()> changed, std::chrono::milliseconds coalescing)
    : fileName_(std::move(fileName)),
      changed_(std::move(changed)),
      coalescing_(coalescing),
      directory_(g_file_new_for_path(directory.c_str())) {
  // Moves are reported as one event naming both ends, so a rename onto the
  // file is seen through its destination.
  monitor_.reset(
      g_file_monitor_directory(directory_.get(), G_FILE_MONITOR_WATCH_MOVES, nullptr, nullptr));
  if (monitor_) {
    handler_ =
        g_signal_connect(monitor_.get(), "changed", G_CALLBACK(&DirectoryWatch::onEvent), this);
  }
}

DirectoryWatch::~DirectoryWatch() {
  pending_.reset();
  if (monitor_) {
    g_signal_handler_disconnect(monitor_.get(), handler_);
    g_file_monitor_cancel(monitor_.get());
  }
}

bool DirectoryWatch::concerns(GFile* file) const {
  if (file == nullptr) return false;
  if (g_file_equal(file, directory_.get())) return true;
  const CharsHandle name(g_file_get_basename(file));
  return name && fileName_ == name.get();
}

void DirectoryWatch::onEvent(GFileMonitor*, GFile* file, GFile* other, GFileMonitorEvent,
                             gpointer self) {
  auto& watch = *static_cast<DirectoryWatch*>(self);
  if (!watch.concerns(file) && !watch.concerns(other)) return;
  if (watch.pending_.active()) return;  // gathered into the call already on its way
  watch.pending_ = SourceHandle(
      g_timeout_add(static_cast<guint>(watch.coalescing_.count()), &DirectoryWatch::onQuiet, self));
}

gboolean DirectoryWatch::onQuiet(gpointer self) {
  auto& watch = *static_cast<DirectoryWatch*>(self);
  watch.pending_.forget();
  watch.changed_();
  return G_SOURCE_REMOVE;
}

}  // namespace kelpo::desktop
