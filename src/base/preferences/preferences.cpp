#include "base/preferences/preferences.h"

#include <fcntl.h>
#include <glib.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <memory>
#include <system_error>
#include <thread>
#include <utility>

#include "base/files/bounded_file.h"
#include "base/files/user_directories.h"
#include "base/glib/glib_handles.h"

namespace kelpo {
namespace {

constexpr const char* preferencesGroup = "widget";
// A preference file is a handful of short lines; anything far larger is not ours.
constexpr std::size_t maxPreferencesBytes = std::size_t{1024} * 1024;

constexpr auto lockRetryInterval = std::chrono::milliseconds(5);

// An exclusive flock on a directory, held while the object lives. Taking it
// waits at most `patience`: flock itself has no timeout, so a non-blocking
// attempt is retried until the deadline.
class DirectoryLock {
 public:
  DirectoryLock(const std::filesystem::path& directory, std::chrono::milliseconds patience)
      : descriptor_(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (descriptor_ < 0) return;
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (::flock(descriptor_, LOCK_EX | LOCK_NB) != 0) {
      if (errno == EINTR) continue;
      if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) return;
      std::this_thread::sleep_for(lockRetryInterval);
    }
    held_ = true;
  }
  DirectoryLock(const DirectoryLock&) = delete;
  DirectoryLock& operator=(const DirectoryLock&) = delete;
  ~DirectoryLock() {
    if (descriptor_ >= 0) ::close(descriptor_);  // closing releases the lock
  }

  [[nodiscard]] bool held() const { return held_; }

 private:
  int descriptor_;
  bool held_ = false;
};

[[nodiscard]] bool isPlainKey(std::string_view key) {
  if (key.empty()) return false;
  for (const char c : key) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '_' || c == '.';
    if (!plain) return false;
  }
  return true;
}

// The file's keys, or an empty key file when it is missing, unreadable or
// malformed. Comments are kept so that a rewrite leaves them in place.
[[nodiscard]] KeyFileHandle loadKeyFile(const std::filesystem::path& file) {
  KeyFileHandle keyFile(g_key_file_new());
  const auto content = readSmallRegularFile(file, maxPreferencesBytes);
  if (!content) return keyFile;
  GError* rawError = nullptr;
  const auto flags =
      static_cast<GKeyFileFlags>(G_KEY_FILE_KEEP_COMMENTS | G_KEY_FILE_KEEP_TRANSLATIONS);
  if (!g_key_file_load_from_data(keyFile.get(), content->data(), content->size(), flags,
                                 &rawError)) {
    const ErrorHandle error(rawError);
    return KeyFileHandle(g_key_file_new());
  }
  return keyFile;
}

[[nodiscard]] std::string withoutNul(std::string_view value) {
  std::string text;
  text.reserve(value.size());
  for (const char c : value) {
    if (c == '\0') {
      text += "\xEF\xBF\xBD";  // U+FFFD REPLACEMENT CHARACTER
    } else {
      text += c;
    }
  }
  return text;
}

[[nodiscard]] std::optional<std::string> storedString(GKeyFile* keyFile, std::string_view key) {
  GError* rawError = nullptr;
  const CharsHandle value(
      g_key_file_get_string(keyFile, preferencesGroup, std::string(key).c_str(), &rawError));
  if (rawError != nullptr) {
    const ErrorHandle error(rawError);
    return std::nullopt;
  }
  if (!value) return std::nullopt;
  return std::string(value.get());
}

// g_file_set_contents_full writes its temporary file as the target's name
// followed by a dot and six characters. A writer killed between the two
// steps leaves one behind; under the lock no writer of ours is between them,
// so any such file is a leftover.
void removeLeftoverTemporaryFiles(const std::filesystem::path& file) {
  const std::string prefix = file.filename().string() + ".";
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(file.parent_path(), error)) {
    const std::string name = entry.path().filename().string();
    if (name.size() == prefix.size() + 6 && name.starts_with(prefix) &&
        entry.is_regular_file(error)) {
      std::filesystem::remove(entry.path(), error);
    }
  }
}

// g_file_set_contents_full writes a temporary file with a unique name beside
// the target, syncs it where the file system needs that, and renames it over
// the target: readers see the old file or the new one, whole.
[[nodiscard]] bool writeKeyFile(GKeyFile* keyFile, const std::filesystem::path& file) {
  gsize length = 0;
  const CharsHandle data(g_key_file_to_data(keyFile, &length, nullptr));
  if (!data) return false;
  GError* rawError = nullptr;
  if (!g_file_set_contents_full(file.c_str(), data.get(), static_cast<gssize>(length),
                                G_FILE_SET_CONTENTS_CONSISTENT, 0600, &rawError)) {
    const ErrorHandle error(rawError);
    return false;
  }
  return true;
}

// Whether the file holds `value` under `key` once this returns.
[[nodiscard]] bool saveString(const std::filesystem::path& file, std::string_view key,
                              const std::string& value, std::chrono::milliseconds lockPatience) {
  if (storedString(loadKeyFile(file).get(), key) == value) return true;
  const auto directory = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
  std::error_code ignored;
  std::filesystem::create_directories(directory, ignored);
  const DirectoryLock lock(directory, lockPatience);
  // Without the lock a write could drop another writer's key.
  if (!lock.held()) return false;
  removeLeftoverTemporaryFiles(file);
  const KeyFileHandle keyFile = loadKeyFile(file);
  g_key_file_set_string(keyFile.get(), preferencesGroup, std::string(key).c_str(), value.c_str());
  return writeKeyFile(keyFile.get(), file);
}

}  // namespace

std::optional<std::string> Preferences::string(std::string_view key) const {
  if (!isPlainKey(key)) return std::nullopt;
  {
    const std::scoped_lock lock(unsavedMutex_);
    if (const auto unsaved = unsaved_.find(key); unsaved != unsaved_.end()) return unsaved->second;
  }
  if (!file_) return std::nullopt;
  return storedString(loadKeyFile(*file_).get(), key);
}

void Preferences::setString(std::string_view key, std::string_view value) {
  if (!isPlainKey(key)) return;
  const std::string text = withoutNul(value);
  const bool saved = file_ && saveString(*file_, key, text, lockPatience_);
  const std::scoped_lock lock(unsavedMutex_);
  if (saved) {
    unsaved_.erase(std::string(key));
  } else {
    unsaved_.insert_or_assign(std::string(key), text);
  }
}

}  // namespace kelpo
