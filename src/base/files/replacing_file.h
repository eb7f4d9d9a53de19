#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "base/errors/result.h"

namespace kelpo {

// A file written under a temporary name in its destination's directory and
// renamed over the destination only once every byte is on disk, so that a
// reader never finds a partial file there and a failed write (a full disk,
// a file size limit) leaves the destination as it was and no temporary file
// behind.
//
// The destination must be a regular file or not exist yet: a directory, a
// device, a FIFO or a socket is refused, never replaced. A link is followed,
// and the file it leads to is replaced, keeping its mode.
class ReplacingFile {
 public:
  // Opens the temporary file; fails, saying why, when the destination is
  // refused or the directory cannot take a new file.
  [[nodiscard]] static Result<ReplacingFile> open(const std::filesystem::path& destination);

  ReplacingFile(ReplacingFile&& other) noexcept;
  ReplacingFile& operator=(ReplacingFile&&) = delete;
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;
  // Removes the temporary file unless it was committed.
  ~ReplacingFile();

  // Appends bytes; false once any write has failed.
  [[nodiscard]] bool write(std::span<const unsigned char> bytes);
  // Why a write failed, if one did.
  [[nodiscard]] std::optional<std::string> writeFailure() const;
  // Flushes the file to disk and renames it over the destination; fails, and
  // the temporary file is removed, when a write or the flush failed.
  [[nodiscard]] Status commit();

  [[nodiscard]] const std::filesystem::path& destination() const { return destination_; }

 private:
  ReplacingFile(std::filesystem::path destination, std::filesystem::path temporary, int descriptor);
  void discard();

  std::filesystem::path destination_;
  std::filesystem::path temporary_;
  int descriptor_ = -1;
  int writeError_ = 0;  // errno of the first failed write
  bool committed_ = false;
};

// `bytes` written to `destination` through a ReplacingFile; fails with
// "cannot write PATH: REASON".
[[nodiscard]] Status writeFileReplacing(const std::filesystem::path& destination,
                                        std::span<const unsigned char> bytes);

}  // namespace kelpo
