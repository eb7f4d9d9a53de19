#pragma once

// Watches the directory that holds one file, so that every way the file can
// change is seen: written in place, replaced by an atomic rename, created
// for the first time, deleted; and every way the directory can: made late,
// removed, or, when it is a symbolic link, pointed at another directory. A
// burst of events becomes one call.

#include <gio/gio.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "base/glib/glib_handles.h"
#include "desktop/watches/file_descriptor.h"

namespace kelpo::desktop {

// How long a burst of changes is gathered before one call.
inline constexpr std::chrono::milliseconds changeCoalescing{200};
// How long before trying again when no watch can be made (the user's
// inotify instances or watches are all taken).
inline constexpr std::chrono::milliseconds watchRetryDelay{std::chrono::seconds(30)};

class DirectoryWatch {
 public:
  // `changed` runs on the main loop at most once per `coalescing`, after
  // the first change of `fileName` in `directory`, of the directory itself,
  // or after events were lost (the kernel's queue overflowed): each time
  // the file may be other than it was.
  DirectoryWatch(std::filesystem::path directory, std::string fileName,
                 std::function<void()> changed,
                 std::chrono::milliseconds coalescing = changeCoalescing,
                 std::chrono::milliseconds retryDelay = watchRetryDelay);
  DirectoryWatch(const DirectoryWatch&) = delete;
  DirectoryWatch& operator=(const DirectoryWatch&) = delete;
  ~DirectoryWatch();

  // False while no watch could be made; one is tried again after the
  // retry delay, and a change is announced when it succeeds.
  [[nodiscard]] bool watching() const { return directoryWatch_ >= 0; }
  // The directory, or while it is missing its nearest existing parent,
  // where its making will show.
  [[nodiscard]] const std::filesystem::path& watchedDirectory() const { return watched_; }

 private:
  static gboolean onReadable(gint, GIOCondition, gpointer self);
  static gboolean onQuiet(gpointer self);
  static gboolean onRetry(gpointer self);

  [[nodiscard]] bool arm();
  [[nodiscard]] bool watchLinkParent();
  void unwatch();
  void rearm();
  void readEvents();
  void noteChange();
  [[nodiscard]] bool complete() const { return watched_ == directory_; }

  std::filesystem::path directory_;
  std::string fileName_;
  std::function<void()> changed_;
  std::chrono::milliseconds coalescing_;
  std::chrono::milliseconds retryDelay_;
  FileDescriptor inotify_;
  int directoryWatch_ = -1;
  int linkWatch_ = -1;  // the link's own directory, when `directory` is a link
  std::filesystem::path watched_;
  std::string awaitedName_;  // while incomplete: the next part of the path
  SourceHandle readable_;
  SourceHandle pending_;
  SourceHandle retry_;
};

}  // namespace kelpo::desktop
