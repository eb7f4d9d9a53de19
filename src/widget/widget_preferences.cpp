#include "widget/widget_preferences.h"

#include "base/files/user_directories.h"

namespace kelpo {

std::optional<std::filesystem::path> widgetConfigurationDirectory() {
  const auto config = userConfigDirectory();
  if (!config) return std::nullopt;
  return *config / widgetConfigurationName;
}

std::optional<std::filesystem::path> widgetPreferencesLocation() {
  const auto directory = widgetConfigurationDirectory();
  if (!directory) return std::nullopt;
  return *directory / "preferences.ini";
}

}  // namespace kelpo
