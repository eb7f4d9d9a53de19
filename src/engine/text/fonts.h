#pragma once

// The widget's fonts: the system font (Inter here) is the text face, and the
// display family ships with the widget as an application font registered
// for this process only (nothing is installed system-wide).

#include <string>
#include <string_view>
#include <vector>

namespace kelpo::ui {

// The family drawn for Font::system(...).
inline constexpr std::string_view systemFontFamily = "Inter";
// The family of the widget's display texts, shipped in resources/fonts.
inline constexpr std::string_view displayFontFamily = "Bricolage Grotesque";

// Families that were asked for but are not available, each once, in the
// order first asked. Their texts are drawn in a heavy sans-serif instead;
// the widget stays silent about it, a command may tell the user once.
[[nodiscard]] std::vector<std::string> missingFonts();

}  // namespace kelpo::ui
