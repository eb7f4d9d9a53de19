#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace kelpo {

// The value of an environment variable holding an absolute path; nothing when
// it is unset, empty or relative (the XDG base-directory rules ignore a
// relative value).
[[nodiscard]] std::optional<std::filesystem::path> absolutePathFromEnvironment(
    std::string_view name);

// The user's home: $HOME, else the password database's entry for this user.
[[nodiscard]] std::optional<std::filesystem::path> homeDirectory();

// $XDG_DATA_HOME, default ~/.local/share.
[[nodiscard]] std::optional<std::filesystem::path> userDataDirectory();

// $XDG_CONFIG_HOME, default ~/.config.
[[nodiscard]] std::optional<std::filesystem::path> userConfigDirectory();

}  // namespace kelpo
