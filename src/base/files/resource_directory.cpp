#include "base/files/resource_directory.h"

#include <cstdlib>
#include <system_error>

namespace kelpo {
namespace {

// Where the install rules put the resources, relative to the directories
// that hold the command and the desktop host; the build derives both from
// the install directories.
#ifndef KELPO_INSTALLED_RESOURCES_FROM_BINARY
#define KELPO_INSTALLED_RESOURCES_FROM_BINARY "../share/kelpo-widget"
#endif
#ifndef KELPO_INSTALLED_RESOURCES_FROM_HOST
#define KELPO_INSTALLED_RESOURCES_FROM_HOST "../share/kelpo-widget"
#endif

// The running command's own file, as the kernel resolved it: symbolic links
// to the command lead to the install they belong to.
[[nodiscard]] std::filesystem::path runningExecutable() {
  std::error_code error;
  auto path = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  return path;
}

}  // namespace

std::filesystem::path chooseResourceDirectory(std::string_view fromEnvironment,
                                              const std::filesystem::path& executable,
                                              const std::filesystem::path& builtIn) {
  if (!fromEnvironment.empty()) return std::filesystem::path(fromEnvironment);
  if (executable.has_parent_path()) {
    for (const char* relative :
         {KELPO_INSTALLED_RESOURCES_FROM_BINARY, KELPO_INSTALLED_RESOURCES_FROM_HOST}) {
      auto installed = (executable.parent_path() / relative).lexically_normal();
      std::error_code error;
      if (std::filesystem::is_directory(installed, error)) return installed;
    }
  }
  return builtIn;
}

std::filesystem::path widgetResourceDirectory() {
  // The executable does not move while the process runs; the variable may.
  static const std::filesystem::path executable = runningExecutable();
  const char* fromEnvironment = std::getenv("KELPO_RESOURCE_DIR");
  return chooseResourceDirectory(fromEnvironment != nullptr ? fromEnvironment : "", executable,
                                 KELPO_RESOURCE_DIR);
}

}  // namespace kelpo
