#include "command/snapshot_file.h"

#include <system_error>

#include "base/files/bounded_file.h"
#include "command/command_error.h"

namespace kelpo::app {
namespace {

// Why the widget would not read `file`, worked out after the fact from its
// status (which never opens it, so a FIFO cannot block here either).
[[nodiscard]] std::string unreadableReason(const std::filesystem::path& file) {
  std::error_code error;
  const auto status = std::filesystem::status(file, error);
  if (status.type() == std::filesystem::file_type::not_found) return "no such file";
  if (error) return error.message();
  if (status.type() != std::filesystem::file_type::regular) return "not a regular file";
  const auto size = std::filesystem::file_size(file, error);
  if (!error && size > maxSnapshotBytes) return "larger than 8 MiB";
  return "cannot be read";
}

}  // namespace

std::string readSnapshotFileContent(const std::filesystem::path& file) {
  auto content = readSmallRegularFile(file, maxSnapshotBytes);
  if (!content) throw CommandError(file.string() + ": " + unreadableReason(file));
  return std::move(*content);
}

}  // namespace kelpo::app
