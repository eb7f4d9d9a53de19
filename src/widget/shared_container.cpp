#include "widget/shared_container.h"

#include <cstdlib>
#include <system_error>

#include "base/files/user_directories.h"

namespace kelpo {
namespace {

[[nodiscard]] std::optional<std::filesystem::path> configuredContainer() {
  const char* overridden = std::getenv("KELPO_APP_GROUP_DIR");
  if (overridden != nullptr && overridden[0] != '\0') return std::filesystem::path(overridden);
  if (auto data = userDataDirectory()) return *data / appGroupIdentifier;
  return std::nullopt;
}

}  // namespace

std::optional<std::filesystem::path> sharedContainerLocation() {
  return configuredContainer();
}

std::optional<std::filesystem::path> sharedContainerDirectory() {
  auto container = configuredContainer();
  std::error_code error;
  if (!container || !std::filesystem::is_directory(*container, error)) return std::nullopt;
  return container;
}

}  // namespace kelpo
