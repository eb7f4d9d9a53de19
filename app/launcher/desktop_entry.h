#pragma once

// The desktop entries (freedesktop.org Desktop Entry files) that present the
// command to a desktop: the one in the application menus, and the autostart
// ones that start the desktop host at login.

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace kelpo::app {

// The name every entry goes by. A user's autostart entry of this name takes
// the place of a system-wide one, which is how a desktop's settings turn a
// system-wide autostart off for one user.
inline constexpr std::string_view desktopEntryFileName = "kelpo-widget.desktop";

enum class DesktopEntryRole {
  application,      // in the menus (share/applications)
  autostart,        // started at login; the desktop's settings can turn it off
  hiddenAutostart,  // a user's entry that keeps a system-wide autostart off
};

// The Exec value that runs `arguments` (the program first): an argument with
// a reserved character is double-quoted with '"', '`', '$' and '\' escaped,
// '%' is doubled so it is no field code, and the whole is escaped as a string
// value. Throws CommandError for an argument that is not UTF-8 text or holds
// a control character other than tab, new line and carriage return.
[[nodiscard]] std::string desktopExecValue(std::span<const std::string> arguments);

// An entry that runs `kelpo-widget desktop` followed by `desktopOptions`, with
// the widget's display name and description as Name and Comment, translated
// by each phrase table in `phrasesDirectory`.
[[nodiscard]] std::string desktopEntryText(DesktopEntryRole role,
                                           std::span<const std::string> desktopOptions,
                                           const std::filesystem::path& phrasesDirectory);

}  // namespace kelpo::app
