#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace kelpo {

// The name of the widget's own configuration directory, under
// $XDG_CONFIG_HOME: its preferences and the desktop host's desktop.ini live
// there.
inline constexpr std::string_view widgetConfigurationName = "app.kelpo.widget";

// The preference the snapshot store writes on every load and the accent
// state reads when an extension context starts.
inline constexpr std::string_view accentPreferenceKey = "accent";

// $XDG_CONFIG_HOME/app.kelpo.widget, XDG_CONFIG_HOME defaulting to
// ~/.config; nothing when there is neither an absolute XDG_CONFIG_HOME nor a
// home directory.
[[nodiscard]] std::optional<std::filesystem::path> widgetConfigurationDirectory();

// The widget's preferences file, preferences.ini in that directory.
[[nodiscard]] std::optional<std::filesystem::path> widgetPreferencesLocation();

}  // namespace kelpo
