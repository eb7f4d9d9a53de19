#pragma once

// Turning the widget's start at login on and off for one user, through the
// XDG autostart directories a desktop session reads when it starts.

#include <filesystem>
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace kelpo::app {

// Where a session looks for autostart entries: the user's directory
// ($XDG_CONFIG_HOME/autostart, default ~/.config/autostart) and the
// system-wide ones ($XDG_CONFIG_DIRS, default /etc/xdg, each + /autostart),
// where an installed package puts its entry.
struct AutostartDirectories {
  std::filesystem::path user;
  std::vector<std::filesystem::path> system;

  // Throws CommandError when there is neither XDG_CONFIG_HOME nor a home.
  [[nodiscard]] static AutostartDirectories fromEnvironment();
};

// Turns autostart on: writes the user's entry, which runs
// `kelpo-widget desktop` followed by `desktopOptions`, atomically (a
// temporary file renamed over it), in place of any earlier one. Says what it
// wrote on `out`; throws CommandError when the directory cannot be made or
// written, or an option cannot be put in an entry.
void installAutostart(std::span<const std::string> desktopOptions,
                      const AutostartDirectories& directories, std::ostream& out);

// Turns autostart off: removes the user's entry or, when a system-wide entry
// would start the widget anyway, replaces it with one that hides that entry.
// Says what it did on `out` (nothing to do is not an error); throws
// CommandError when the file cannot be removed or written.
void removeAutostart(const AutostartDirectories& directories, std::ostream& out);

// Whether the session starts the widget at login: the user's entry, unless
// it is one that hides the widget, else a system-wide one.
[[nodiscard]] bool startsAtLogin(const AutostartDirectories& directories);

// The two above for this user's session: what `kelpo-widget desktop
// --install-autostart` and `--remove-autostart` do.
void installAutostart(std::span<const std::string> desktopOptions, std::ostream& out);
void removeAutostart(std::ostream& out);

}  // namespace kelpo::app
