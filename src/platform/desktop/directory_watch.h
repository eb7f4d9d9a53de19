#pragma once

// Watches the directory that holds one file, so that every way the file can
// change is seen: written in place, replaced by an atomic rename, created
// for the first time, deleted. A burst of events becomes one call.

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/desktop/glib_handles.h"

namespace kelpo::desktop {

// How long a burst of changes is gathered before one call.
inline constexpr std::chrono::milliseconds changeCoalescing{200};

class DirectoryWatch {
 public:
  // `changed` runs on the main loop at most once per `coalescing`, after
  // the first change of `fileName` in `directory` (or of the directory
  // itself). A directory that cannot be watched is not watched.
  DirectoryWatch(const std::filesystem::path& directory, std::string fileName,
                 std::function<void()> changed,
                 std::chrono::milliseconds coalescing = changeCoalescing);
  DirectoryWatch(const DirectoryWatch&) = delete;
  DirectoryWatch& operator=(const DirectoryWatch&) = delete;
  ~DirectoryWatch();

  [[nodiscard]] bool watching() const { return monitor_ != nullptr; }

 private:
  static void onEvent(GFileMonitor*, GFile* file, GFile* other, GFileMonitorEvent event,
                      gpointer self);
  static gboolean onQuiet(gpointer self);
  [[nodiscard]] bool concerns(GFile* file) const;

  std::string fileName_;
  std::function<void()> changed_;
  std::chrono::milliseconds coalescing_;
  ObjectHandle<GFile> directory_;
  ObjectHandle<GFileMonitor> monitor_;
  gulong handler_ = 0;
  SourceHandle pending_;
};

}  // namespace kelpo::desktop
