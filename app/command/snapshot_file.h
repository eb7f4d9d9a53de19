#pragma once

#include <filesystem>
#include <string>

namespace kelpo::app {

// The content of a widget.json the command was asked to read, read as the
// widget reads it (a regular file of at most 8 MiB, opened so that a FIFO
// cannot block). Throws CommandError saying why the file cannot be read.
[[nodiscard]] std::string readSnapshotFileContent(const std::filesystem::path& file);

}  // namespace kelpo::app
