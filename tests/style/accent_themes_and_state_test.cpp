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

// Raw values match exactly (case and spaces count); anything else is Braise.
TEST(AccentState, TakesTheThemeNamedByThePreference) {
  struct Case {
    std::optional<std::string> stored;
    AccentTheme expected;
  };
  for (const auto& [stored, expected] : std::vector<Case>{
           {std::nullopt, AccentTheme::braise},
           {"Lagune", AccentTheme::lagune},
           {"lagune", AccentTheme::braise},
           {"Lagune ", AccentTheme::braise},
           {"Framboise", AccentTheme::framboise},
           {"Indigo", AccentTheme::indigo},
           {"Turquoise", AccentTheme::braise},
       }) {
    EXPECT_EQ(AccentState::themeFromPreference(stored), expected) << stored.value_or("(absent)");
  }
}

// The outliving subscription is dropped after the state: under the address
// sanitizer, touching the freed state there fails the test.
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
