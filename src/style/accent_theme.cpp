#include "style/accent_theme.h"

#include "style/color_literal.h"

namespace kelpo {

std::string_view rawValue(AccentTheme theme) {
  switch (theme) {
    case AccentTheme::braise:
      return "Braise";
    case AccentTheme::framboise:
      return "Framboise";
    case AccentTheme::lagune:
      return "Lagune";
    case AccentTheme::indigo:
      return "Indigo";
  }
  return "Braise";
}

std::optional<AccentTheme> accentThemeFromRawValue(std::string_view raw) {
  for (const AccentTheme theme : allCases) {
    if (rawValue(theme) == raw) return theme;
  }
  return std::nullopt;
}

AccentPalette palette(AccentTheme theme) {
  switch (theme) {
    case AccentTheme::braise:
      return {adaptiveColor("#E8542F", "#FF7A55"), adaptiveColor("#B93F1E", "#FF9A7C")};
    case AccentTheme::framboise:
      return {adaptiveColor("#D6467C", "#F27AA6"), adaptiveColor("#A83361", "#F79BBE")};
    case AccentTheme::lagune:
      return {adaptiveColor("#0E8582", "#3FD2CE"), adaptiveColor("#0B6461", "#6FE0DC")};
    case AccentTheme::indigo:
      return {adaptiveColor("#5257E5", "#8B90FF"), adaptiveColor("#3A3FC2", "#A9ADFF")};
  }
  return palette(AccentTheme::braise);
}

}  // namespace kelpo
