#pragma once

#include <chrono>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace kelpo {

// Per-user preferences: a key file with the keys in the group "[widget]"
// (the widget keeps the "accent" of its last load there). Nothing is cached: every read opens the
// file anew, so a value written by another process shows on the next read.
//
// An unreadable or malformed file counts as empty. A write replaces the file
// atomically (a fresh temporary file renamed over it), so a reader in another
// thread or process sees either the old or the new file, never a torn one;
// writers take a lock on the directory, so concurrent writes of different
// keys do not drop one another. A writer waits a while for the lock (a
// tenth of a second unless told otherwise), so that a lock held by a stuck
// process never freezes a window that loads on its main loop, then gives
// up. A value already in the file is not written again.
//
// A write that fails or gives up leaves the file as it was and says nothing,
// but this object keeps the value and reads it back, as it would have read
// it from the file: whoever reads after writing (the accent state after a
// load) sees what was written, whether the disk took it or not. Preferences
// with no file (the user has no configuration directory) keep their values
// so, in memory, and write nothing anywhere.
class Preferences {
 public:
  // How long a write waits for another writer's lock: far longer than a
  // write of a few lines takes, short enough that a lock held by a stuck
  // process costs a window loading on its main loop a few frames, never a
  // freeze.
  static constexpr std::chrono::milliseconds defaultLockPatience{100};

  explicit Preferences(std::optional<std::filesystem::path> file,
                       std::chrono::milliseconds lockPatience = defaultLockPatience)
      : file_(std::move(file)), lockPatience_(lockPatience) {}
  Preferences(const Preferences&) = delete;
  Preferences& operator=(const Preferences&) = delete;

  // Keys are plain names: ASCII letters, digits, '-', '_' and '.'. Any other
  // key reads as absent and is never written.
  [[nodiscard]] std::optional<std::string> string(std::string_view key) const;
  // Values are any UTF-8 text; new lines, leading spaces and '#' are kept.
  // A NUL character, which the file cannot hold, is stored as U+FFFD.
  void setString(std::string_view key, std::string_view value);

  [[nodiscard]] const std::optional<std::filesystem::path>& file() const { return file_; }

 private:
  std::optional<std::filesystem::path> file_;
  std::chrono::milliseconds lockPatience_;
  // Values written through this object that the file did not take.
  mutable std::mutex unsavedMutex_;
  std::map<std::string, std::string, std::less<>> unsaved_;
};

}  // namespace kelpo
