#include "style/accent_state.h"

namespace kelpo {

AccentTheme AccentState::themeFromPreference(const std::optional<std::string>& stored) {
  return accentThemeFromRawValue(stored.value_or("")).value_or(AccentTheme::braise);
}

}  // namespace kelpo
