#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "command/common_options.h"

namespace kelpo::app {

// The desktop verb's options as given on the command line; empty means
// "not given" (the settings file or the default then decides).
struct DesktopOptions {
  CommonOptions common;
  std::vector<std::string> families;
  std::string corner;
  std::string margin;
  std::string monitor;
  std::string appearance;
  std::string reduceMotion;
  bool installAutostart = false;
  bool removeAutostart = false;
};

// The `desktop` and `reload` verbs as the user sees them (options, help),
// declared once for both programs that parse them: the command, which hands
// them on to the desktop host, and the host itself.
[[nodiscard]] CLI::App& addDesktopVerbCommand(CLI::App& parent, DesktopOptions& options);
[[nodiscard]] CLI::App& addReloadVerbCommand(CLI::App& parent);

}  // namespace kelpo::app
