#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace kelpo {

// The name of the directory the widget shares with the host application; the
// host application uses the same one.
inline constexpr std::string_view appGroupIdentifier = "group.app.kelpo";

// The file the host application writes, directly inside the shared
// container: the snapshot store reads it, the desktop host watches it.
inline constexpr std::string_view snapshotFileName = "widget.json";

// The shared container: $KELPO_APP_GROUP_DIR when set and non-empty, else
// $XDG_DATA_HOME/group.app.kelpo (XDG_DATA_HOME defaulting to
// ~/.local/share). Nothing when that directory does not exist, which the
// store treats like a missing file. The widget only ever reads from it.
[[nodiscard]] std::optional<std::filesystem::path> sharedContainerDirectory();

// Where the shared container is, whether or not it exists yet: what a
// watcher waits on for it to appear. Nothing without any home directory.
[[nodiscard]] std::optional<std::filesystem::path> sharedContainerLocation();

}  // namespace kelpo
