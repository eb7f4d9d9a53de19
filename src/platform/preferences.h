#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kelpo {

// The widget's own per-user preferences: a key file with the keys in the group
// "[widget]", e.g. the "accent" the snapshot store writes on every load and
// the accent state reads. Nothing is cached: every read opens the file anew,
// so a value written by another process shows on the next read.
//
// An unreadable or malformed file counts as empty. A write replaces the file
// atomically (a fresh temporary file renamed over it), so a reader in another
// thread or process sees either the old or the new file, never a torn one;
// writers take a lock on the directory, so concurrent writes of different
// keys do not drop one another. A writer waits about a second for the lock,
// then gives up. A write that fails or gives up changes nothing and says
// nothing.
//
// Preferences with no file (the user has no configuration directory) read
// as empty and write nothing anywhere.
class Preferences {
 public:
  explicit Preferences(std::optional<std::filesystem::path> file) : file_(std::move(file)) {}

  // $XDG_CONFIG_HOME/app.kelpo.widget/preferences.ini, XDG_CONFIG_HOME
  // defaulting to ~/.config; nothing when there is neither an absolute
  // XDG_CONFIG_HOME nor a home directory.
  [[nodiscard]] static std::optional<std::filesystem::path> defaultLocation();

  // Keys are plain names: ASCII letters, digits, '-', '_' and '.'. Any other
  // key reads as absent and is never written.
  [[nodiscard]] std::optional<std::string> string(std::string_view key) const;
  // Values are any UTF-8 text; new lines, leading spaces and '#' are kept.
  // A NUL character, which the file cannot hold, is stored as U+FFFD.
  void setString(std::string_view key, std::string_view value) const;

  [[nodiscard]] const std::optional<std::filesystem::path>& file() const { return file_; }

 private:
  std::optional<std::filesystem::path> file_;
};

}  // namespace kelpo
