#include "desktop/watches/directory_watch.h"

#include <glib-unix.h>
#include <sys/inotify.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <system_error>

namespace kelpo::desktop {
namespace {

// What can change the file inside the directory, and what can take the
// directory itself away.
constexpr std::uint32_t contentEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                        IN_CLOSE_WRITE | IN_MODIFY | IN_ATTRIB | IN_DELETE_SELF |
                                        IN_MOVE_SELF | IN_ONLYDIR;
// While the directory is missing: its next part appearing in the nearest
// parent that exists (a kernel event rather than a scan of the path).
constexpr std::uint32_t arrivalEvents =
    IN_CREATE | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
// A link to the directory replaced by another (`mv -T`), or removed.
constexpr std::uint32_t linkEvents = IN_CREATE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE |
                                     IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
constexpr std::uint32_t watchGone = IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED | IN_UNMOUNT;

[[nodiscard]] bool isDirectory(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

[[nodiscard]] bool isLink(const std::filesystem::path& path) {
  struct stat status {};
  return ::lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode);
}

[[nodiscard]] std::filesystem::path nearestExistingDirectory(std::filesystem::path path) {
  while (!isDirectory(path)) {
    if (!path.has_relative_path()) return path.empty() ? "." : path;
    path = path.parent_path();
  }
  return path;
}

[[nodiscard]] std::string firstPart(const std::filesystem::path& path) {
  return path.empty() ? std::string() : path.begin()->string();
}

}  // namespace

DirectoryWatch::DirectoryWatch(std::filesystem::path directory, std::string fileName,
                               std::function<void()> changed, std::chrono::milliseconds coalescing,
                               std::chrono::milliseconds retryDelay)
    : directory_(std::move(directory).lexically_normal()),
      fileName_(std::move(fileName)),
      changed_(std::move(changed)),
      coalescing_(coalescing),
      retryDelay_(retryDelay) {
  if (directory_.has_relative_path() && directory_.filename().empty()) {
    directory_ = directory_.parent_path();  // "dir/" names "dir"
  }
  rearm();
}

DirectoryWatch::~DirectoryWatch() {
  retry_.reset();
  pending_.reset();
  readable_.reset();
}

void DirectoryWatch::unwatch() {
  // Watches the kernel already dropped fail here harmlessly.
  for (int* watch : {&directoryWatch_, &linkWatch_}) {
    if (*watch >= 0) inotify_rm_watch(inotify_.get(), *watch);
    *watch = -1;
  }
}

bool DirectoryWatch::arm() {
  if (!inotify_.valid()) {
    // An instance of our own: its queue holds only the events of this
    // watch, and an overflow of it is ours to see.
    inotify_ = FileDescriptor(inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    if (!inotify_.valid()) return false;
    readable_ =
        SourceHandle(g_unix_fd_add(inotify_.get(), G_IO_IN, &DirectoryWatch::onReadable, this));
  }
  unwatch();
  // A part of the path can appear between the look and the watch: look
  // again once watching, and go deeper while it did.
  for (int attempt = 0; attempt < 16; ++attempt) {
    watched_ = nearestExistingDirectory(directory_);
    const std::uint32_t events = complete() ? contentEvents : arrivalEvents;
    directoryWatch_ = inotify_add_watch(inotify_.get(), watched_.c_str(), events);
    if (directoryWatch_ < 0) {
      if (errno == ENOENT || errno == ENOTDIR) continue;  // gone meanwhile
      return false;
    }
    if (complete()) return watchLinkParent();
    awaitedName_ = firstPart(directory_.lexically_relative(watched_));
    if (!isDirectory(watched_ / awaitedName_)) return true;
    unwatch();
  }
  return false;
}

bool DirectoryWatch::watchLinkParent() {
  // A link's target gets no event when the link is pointed elsewhere; the
  // directory holding the link does.
  if (!isLink(directory_)) return true;
  linkWatch_ = inotify_add_watch(inotify_.get(), directory_.parent_path().c_str(), linkEvents);
  if (linkWatch_ >= 0) return true;
  unwatch();
  return false;
}

void DirectoryWatch::rearm() {
  if (arm()) return;
  unwatch();
  watched_.clear();
  if (!retry_.active()) {
    retry_ = SourceHandle(
        g_timeout_add(static_cast<guint>(retryDelay_.count()), &DirectoryWatch::onRetry, this));
  }
}

gboolean DirectoryWatch::onRetry(gpointer self) {
  auto& watch = *static_cast<DirectoryWatch*>(self);
  watch.retry_.forget();
  watch.rearm();
  // Whatever changed while nothing watched is unknown: read again.
  if (watch.watching()) watch.noteChange();
  return G_SOURCE_REMOVE;
}

gboolean DirectoryWatch::onReadable(gint, GIOCondition, gpointer self) {
  static_cast<DirectoryWatch*>(self)->readEvents();
  return G_SOURCE_CONTINUE;
}

void DirectoryWatch::readEvents() {
  alignas(inotify_event) char buffer[16 * 1024];
  bool lost = false;
  bool moved = false;
  bool changed = false;
  while (true) {
    const ssize_t length = ::read(inotify_.get(), buffer, sizeof buffer);
    if (length <= 0) {
      if (length < 0 && errno == EINTR) continue;
      break;  // EAGAIN: all read
    }
    for (ssize_t offset = 0; offset < length;) {
      inotify_event event{};
      std::memcpy(&event, buffer + offset, sizeof event);
      const std::string_view name =
          event.len > 0 ? std::string_view(buffer + offset + sizeof event) : std::string_view();
      offset += static_cast<ssize_t>(sizeof event + event.len);
      if ((event.mask & IN_Q_OVERFLOW) != 0) {
        lost = true;  // events were dropped: the file and the path may be anything now
      } else if (event.wd == directoryWatch_) {
        if ((event.mask & watchGone) != 0) {
          moved = true;
        } else if (complete()) {
          changed = changed || name == fileName_;
        } else {
          moved = moved || name == awaitedName_;
        }
      } else if (event.wd == linkWatch_) {
        moved = moved || (event.mask & watchGone) != 0 || name == directory_.filename().string();
      }
    }
  }
  if (lost || moved) {
    const bool wasComplete = complete();
    rearm();
    changed = changed || lost || wasComplete || complete();
  }
  if (changed) noteChange();
}

void DirectoryWatch::noteChange() {
  if (pending_.active()) return;  // gathered into the call already on its way
  pending_ = SourceHandle(
      g_timeout_add(static_cast<guint>(coalescing_.count()), &DirectoryWatch::onQuiet, this));
}

gboolean DirectoryWatch::onQuiet(gpointer self) {
  auto& watch = *static_cast<DirectoryWatch*>(self);
  watch.pending_.forget();
  watch.changed_();
  return G_SOURCE_REMOVE;
}

}  // namespace kelpo::desktop
