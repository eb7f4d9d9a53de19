#pragma once

#include <filesystem>
#include <string_view>

namespace kelpo {

// The widget's own resources (mascot pictures, phrase tables, fonts), first
// match wins:
//   1. KELPO_RESOURCE_DIR from the process environment, when set and non-empty;
//   2. the installed resources beside the running command or desktop host
//      (<prefix>/bin/kelpo-widget, <prefix>/libexec/kelpo-widget-desktop ->
//      <prefix>/share/kelpo-widget), so an install works from any prefix, a
//      staging tree or an unpacked package;
//   3. the source tree's resources/, fixed at build time, for a build tree.
// The variable is read on every call, so tests can point elsewhere without a
// rebuild.
[[nodiscard]] std::filesystem::path widgetResourceDirectory();

// The choice above for a given variable value (empty: unset), running
// executable (empty: unknown) and build-time directory.
[[nodiscard]] std::filesystem::path chooseResourceDirectory(std::string_view fromEnvironment,
                                                            const std::filesystem::path& executable,
                                                            const std::filesystem::path& builtIn);

}  // namespace kelpo
