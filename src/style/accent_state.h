#pragma once

#include <optional>
#include <string>

#include "base/preferences/preferences.h"
#include "style/accent_theme.h"
#include "widget/widget_preferences.h"

namespace kelpo {

// The theme an extension context draws with: read once, when the context
// starts, from the "accent" preference the last load recorded. A later
// change of the preference reaches the views only in a new context.
class AccentState {
 public:
  explicit AccentState(const Preferences& preferences)
      : value_(themeFromPreference(preferences.string(accentPreferenceKey))) {}

  // The theme named by a stored preference: a missing value, an empty one,
  // one in the wrong case or any unknown name gives braise.
  [[nodiscard]] static AccentTheme themeFromPreference(const std::optional<std::string>& stored);

  [[nodiscard]] AccentTheme value() const { return value_; }

 private:
  AccentTheme value_;
};

}  // namespace kelpo
