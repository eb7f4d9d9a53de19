#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "engine/views/color.h"

namespace kelpo {

// The four accent themes the widget can be drawn in, identified by the
// names the host application writes ("Braise", "Framboise", ...).
enum class AccentTheme { braise, framboise, lagune, indigo };

inline constexpr std::array<AccentTheme, 4> allCases{AccentTheme::braise, AccentTheme::framboise,
                                                     AccentTheme::lagune, AccentTheme::indigo};

[[nodiscard]] std::string_view rawValue(AccentTheme theme);
// The theme whose raw value is exactly `raw` (case-sensitive), if any.
[[nodiscard]] std::optional<AccentTheme> accentThemeFromRawValue(std::string_view raw);

// The two adaptive colours of a theme.
struct AccentPalette {
  ui::Color accentMain;  // the week ring's arcs
  ui::Color accentDeep;  // accent-coloured text
};

// Builds the theme's colours anew on each call.
[[nodiscard]] AccentPalette palette(AccentTheme theme);

}  // namespace kelpo
