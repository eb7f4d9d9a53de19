#include "base/files/bounded_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace kelpo {
namespace {

// Owns an open file descriptor and closes it when it goes.
class FileDescriptor {
 public:
  explicit FileDescriptor(int descriptor) : descriptor_(descriptor) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (descriptor_ >= 0) ::close(descriptor_);
  }

  [[nodiscard]] bool valid() const { return descriptor_ >= 0; }
  [[nodiscard]] int get() const { return descriptor_; }

 private:
  int descriptor_;
};

// Reads until end of file; fails on an error or once more than `maxBytes`
// arrive, since the file may have grown after it was measured.
[[nodiscard]] std::optional<std::string> readAtMost(int descriptor, std::size_t expectedBytes,
                                                    std::size_t maxBytes) {
  std::string content;
  content.reserve(expectedBytes);
  char buffer[64 * 1024];
  while (true) {
    const ssize_t count = ::read(descriptor, buffer, sizeof buffer);
    if (count < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (count == 0) return content;
    if (static_cast<std::size_t>(count) > maxBytes - content.size()) return std::nullopt;
    content.append(buffer, static_cast<std::size_t>(count));
  }
}

}  // namespace

std::optional<std::string> readSmallRegularFile(const std::filesystem::path& path,
                                                std::size_t maxBytes) {
  const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (!file.valid()) return std::nullopt;
  struct stat status {};
  if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0 ||
      static_cast<std::size_t>(status.st_size) > maxBytes) {
    return std::nullopt;
  }
  return readAtMost(file.get(), static_cast<std::size_t>(status.st_size), maxBytes);
}

}  // namespace kelpo
