#include "base/files/replacing_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <utility>

namespace kelpo {
namespace {

[[nodiscard]] std::string reason(int error) {
  return std::strerror(error);
}

// Why `destination` cannot be replaced by a regular file, if it cannot: the
// name ends in a slash, or something other than a regular file is there.
[[nodiscard]] std::optional<std::string> refusal(const std::filesystem::path& destination) {
  if (!destination.has_filename()) return "a directory name, not a file name";
  struct stat status {};
  if (::stat(destination.c_str(), &status) != 0) return std::nullopt;  // a new file
  if (S_ISDIR(status.st_mode)) return "is a directory";
  if (!S_ISREG(status.st_mode)) return "is not a regular file (a device, FIFO or socket)";
  return std::nullopt;
}

// A link is replaced through: the file it leads to gets the new content.
[[nodiscard]] std::filesystem::path followLinks(const std::filesystem::path& destination) {
  std::error_code error;
  if (!std::filesystem::is_symlink(destination, error)) return destination;
  const auto target = std::filesystem::weakly_canonical(destination, error);
  return error ? destination : target;
}

// ".NAME.XXXXXX" beside the destination, created with the permissions a new
// file gets (0666 less the umask) and never over an existing file.
[[nodiscard]] std::pair<std::filesystem::path, int> createTemporary(
    const std::filesystem::path& destination) {
  static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device entropy;
  std::uniform_int_distribution<std::size_t> pick(0, sizeof letters - 2);
  for (int attempt = 0; attempt < 32; ++attempt) {
    std::string name = "." + destination.filename().string() + ".";
    for (int i = 0; i < 6; ++i) name += letters[pick(entropy)];
    auto path = destination.parent_path() / name;
    const int descriptor =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    if (descriptor >= 0 || errno != EEXIST) return {std::move(path), descriptor};
  }
  errno = EEXIST;
  return {{}, -1};
}

}  // namespace

Result<ReplacingFile> ReplacingFile::open(const std::filesystem::path& destination) {
  const std::filesystem::path target = followLinks(destination);
  if (const auto refused = refusal(target)) return Failure{*refused};
  auto [temporary, descriptor] = createTemporary(target);
  if (descriptor < 0) return Failure{reason(errno)};
  // A replaced file keeps its mode: a settings file a person made private
  // (0600) must not turn readable by all.
  if (struct stat status{}; ::stat(target.c_str(), &status) == 0) {
    (void)::fchmod(descriptor, status.st_mode & 07777);
  }
  return ReplacingFile(target, std::move(temporary), descriptor);
}

ReplacingFile::ReplacingFile(std::filesystem::path destination, std::filesystem::path temporary,
                             int descriptor)
    : destination_(std::move(destination)),
      temporary_(std::move(temporary)),
      descriptor_(descriptor) {}

ReplacingFile::ReplacingFile(ReplacingFile&& other) noexcept
    : destination_(std::move(other.destination_)),
      temporary_(std::move(other.temporary_)),
      descriptor_(std::exchange(other.descriptor_, -1)),
      writeError_(other.writeError_),
      committed_(std::exchange(other.committed_, true)) {}

ReplacingFile::~ReplacingFile() {
  if (!committed_) discard();
}

void ReplacingFile::discard() {
  if (descriptor_ >= 0) ::close(descriptor_);
  descriptor_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  committed_ = true;  // nothing left to clean up
}

bool ReplacingFile::write(std::span<const unsigned char> bytes) {
  while (writeError_ == 0 && !bytes.empty()) {
    const ssize_t written = ::write(descriptor_, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno != EINTR) writeError_ = errno;
      continue;
    }
    if (written == 0) {
      writeError_ = EIO;  // no progress and no reason: never spin on it
      break;
    }
    bytes = bytes.subspan(static_cast<std::size_t>(written));
  }
  return writeError_ == 0;
}

std::optional<std::string> ReplacingFile::writeFailure() const {
  if (writeError_ == 0) return std::nullopt;
  return reason(writeError_);
}

Status ReplacingFile::commit() {
  // Some file systems report a full disk only when the data is flushed or
  // the file closed: both are checked before the rename.
  int failure = writeError_;
  if (failure == 0 && ::fsync(descriptor_) != 0) failure = errno;
  if (::close(std::exchange(descriptor_, -1)) != 0 && failure == 0) failure = errno;
  if (failure == 0 && ::rename(temporary_.c_str(), destination_.c_str()) != 0) failure = errno;
  if (failure != 0) {
    discard();
    return Failure{reason(failure)};
  }
  committed_ = true;
  return Done{};
}

Status writeFileReplacing(const std::filesystem::path& destination,
                          std::span<const unsigned char> bytes) {
  auto file = ReplacingFile::open(destination);
  if (!file) return Failure{"cannot write " + destination.string() + ": " + file.error()};
  // A failed write is remembered and reported by the commit.
  (void)file->write(bytes);
  const Status committed = file->commit();
  if (!committed) return Failure{"cannot write " + destination.string() + ": " + committed.error()};
  return Done{};
}

}  // namespace kelpo
