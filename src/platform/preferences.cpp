#include "platform/preferences.h"

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

#include "platform/bounded_file.h"
#include "platform/user_directories.h"

namespace kelpo {
namespace {

constexpr const char* preferencesGroup = "widget";
// A preference file is a handful of short lines; anything far larger is not ours.
constexpr std::size_t maxPreferencesBytes = std::size_t{1024} * 1024;

struct KeyFileRelease {
  void operator()(GKeyFile* keyFile) const { g_key_file_unref(keyFile); }
};
using KeyFilePointer = std::unique_ptr<GKeyFile, KeyFileRelease>;

struct GLibFree {
  void operator()(gchar* text) const { g_free(text); }
};
using GLibString = std::unique_ptr<gchar, GLibFree>;

struct ErrorRelease {
  void operator()(GError* error) const { g_error_free(error); }
};

// How long a write waits for another writer's lock before giving up: far
// longer than any write takes, short enough that a lock held by a stuck
// process only costs the request this delay.
constexpr auto lockPatience = std::chrono::seconds(1);
constexpr auto lockRetryInterval = std::chrono::milliseconds(10);

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
[[nodiscard]] KeyFilePointer loadKeyFile(const std::filesystem::path& file) {
  KeyFilePointer keyFile(g_key_file_new());
  const auto content = readSmallRegularFile(file, maxPreferencesBytes);
  if (!content) return keyFile;
  GError* rawError = nullptr;
  const auto flags =
      static_cast<GKeyFileFlags>(G_KEY_FILE_KEEP_COMMENTS | G_KEY_FILE_KEEP_TRANSLATIONS);
  if (!g_key_file_load_from_data(keyFile.get(), content->data(), content->size(), flags,
                                 &rawError)) {
    std::unique_ptr<GError, ErrorRelease> error(rawError);
    return KeyFilePointer(g_key_file_new());
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

// g_file_set_contents_full writes a temporary file with a unique name beside
// the target, syncs it where the file system needs that, and renames it over
// the target: readers see the old file or the new one, whole.
void writeKeyFile(GKeyFile* keyFile, const std::filesystem::path& file) {
  gsize length = 0;
  const GLibString data(g_key_file_to_data(keyFile, &length, nullptr));
  if (!data) return;
  GError* rawError = nullptr;
  if (!g_file_set_contents_full(file.c_str(), data.get(), static_cast<gssize>(length),
                                G_FILE_SET_CONTENTS_CONSISTENT, 0600, &rawError)) {
    std::unique_ptr<GError, ErrorRelease> error(rawError);
  }
}

}  // namespace

std::optional<std::filesystem::path> Preferences::defaultLocation() {
  const auto config = userConfigDirectory();
  if (!config) return std::nullopt;
  return *config / "app.kelpo.widget" / "preferences.ini";
}

std::optional<std::string> Preferences::string(std::string_view key) const {
  if (!file_ || !isPlainKey(key)) return std::nullopt;
  const KeyFilePointer keyFile = loadKeyFile(*file_);
  GError* rawError = nullptr;
  const GLibString value(
      g_key_file_get_string(keyFile.get(), preferencesGroup, std::string(key).c_str(), &rawError));
  if (rawError != nullptr) {
    std::unique_ptr<GError, ErrorRelease> error(rawError);
    return std::nullopt;
  }
  if (!value) return std::nullopt;
  return std::string(value.get());
}

void Preferences::setString(std::string_view key, std::string_view value) const {
  if (!file_ || !isPlainKey(key)) return;
  const auto directory =
      file_->has_parent_path() ? file_->parent_path() : std::filesystem::path(".");
  std::error_code ignored;
  std::filesystem::create_directories(directory, ignored);
  const DirectoryLock lock(directory, lockPatience);
  // Without the lock a write could drop another writer's key: better to
  // record nothing this time.
  if (!lock.held()) return;
  const KeyFilePointer keyFile = loadKeyFile(*file_);
  g_key_file_set_string(keyFile.get(), preferencesGroup, std::string(key).c_str(),
                        withoutNul(value).c_str());
  writeKeyFile(keyFile.get(), *file_);
}

}  // namespace kelpo
