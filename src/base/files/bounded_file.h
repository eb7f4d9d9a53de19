#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace kelpo {

// The largest widget.json the widget reads; anything bigger counts as unreadable.
inline constexpr std::size_t maxSnapshotBytes = 8 * 1024 * 1024;

// The whole content of a regular file of at most `maxBytes` bytes; nothing for
// anything else (no file, no permission, a directory, a FIFO or device, a file
// too large or one that grows past the limit while being read). The open never
// blocks, so a FIFO put in the file's place cannot hang the caller.
[[nodiscard]] std::optional<std::string> readSmallRegularFile(const std::filesystem::path& path,
                                                              std::size_t maxBytes);

}  // namespace kelpo
