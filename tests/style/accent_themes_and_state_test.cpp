#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "base/preferences/preferences.h"
#include "style/accent_state.h"
#include "style/accent_theme.h"
#include "support/scoped_environment_variable.h"
#include "support/temporary_directory.h"

namespace kelpo {
namespace {

// Each theme's raw value names it; nothing else does, not even the same
// word in another case or with a space: anything else is Braise.
TEST(AccentState, TakesTheThemeNamedByThePreference) {
  for (const AccentTheme theme : allCases) {
    const std::string raw(rawValue(theme));
    EXPECT_EQ(AccentState::themeFromPreference(raw), theme) << raw;
    if (theme == AccentTheme::braise) continue;
    std::string lower = raw;
    lower[0] = static_cast<char>(lower[0] - 'A' + 'a');
    for (const std::string& near : {lower, raw + " ", " " + raw}) {
      EXPECT_EQ(AccentState::themeFromPreference(near), AccentTheme::braise) << '"' << near << '"';
    }
  }
  for (const std::optional<std::string>& other :
       {std::optional<std::string>(), std::optional<std::string>("Turquoise")}) {
    EXPECT_EQ(AccentState::themeFromPreference(other), AccentTheme::braise);
  }
}

// A context's state is read once, when it starts: a later write reaches
// only the next context.
TEST(AccentState, ReadsThePreferenceOnceWhenMade) {
  const testing_support::TemporaryDirectory home;
  Preferences preferences(home.path() / "preferences.ini");
  preferences.setString("accent", "Lagune");
  const AccentState state(preferences);
  preferences.setString("accent", "Indigo");
  EXPECT_EQ(state.value(), AccentTheme::lagune);
  EXPECT_EQ(AccentState(preferences).value(), AccentTheme::indigo);
}

}  // namespace
}  // namespace kelpo
