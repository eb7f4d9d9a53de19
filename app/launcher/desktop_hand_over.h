#pragma once

#include <filesystem>

namespace kelpo::app {

// The desktop host is a program of its own, kelpo-widget-desktop, so that
// GTK and the display libraries are loaded only by the process that shows
// windows: every other verb starts, renders and exits without them. The
// command's `desktop` and `reload` verbs parse their options here (so --help
// and bad options are answered at once) and then hand the same command line
// over to the host.

// The host program for the command at `command`: beside it in a build tree,
// else where the install puts it, relative to the command. Empty when
// neither exists.
[[nodiscard]] std::filesystem::path desktopHostProgram(const std::filesystem::path& command);

// Replaces this process with the host, given this process's own command
// line. Returns only on failure, by throwing CommandError.
[[noreturn]] void handOverToDesktopHost();

}  // namespace kelpo::app
