#include "base/files/user_directories.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace kelpo {
namespace {

[[nodiscard]] std::optional<std::filesystem::path> homeFromPasswordDatabase() {
  long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
      found->pw_dir == nullptr || found->pw_dir[0] != '/') {
    return std::nullopt;
  }
  return std::filesystem::path(found->pw_dir);
}

}  // namespace

std::optional<std::filesystem::path> absolutePathFromEnvironment(std::string_view name) {
  const char* value = std::getenv(std::string(name).c_str());
  if (value == nullptr || value[0] != '/') return std::nullopt;
  return std::filesystem::path(value);
}

std::optional<std::filesystem::path> homeDirectory() {
  if (auto home = absolutePathFromEnvironment("HOME")) return home;
  return homeFromPasswordDatabase();
}

std::optional<std::filesystem::path> userDataDirectory() {
  if (auto data = absolutePathFromEnvironment("XDG_DATA_HOME")) return data;
  if (auto home = homeDirectory()) return *home / ".local" / "share";
  return std::nullopt;
}

std::optional<std::filesystem::path> userConfigDirectory() {
  if (auto config = absolutePathFromEnvironment("XDG_CONFIG_HOME")) return config;
  if (auto home = homeDirectory()) return *home / ".config";
  return std::nullopt;
}

}  // namespace kelpo
