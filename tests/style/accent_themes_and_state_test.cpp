#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/preferences.h"
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
TEST(AccentState, TellsObserversUntilTheirSubscriptionEnds) {
  AccentState::Subscription outliving;
  AccentState state(AccentTheme::braise);
  outliving = state.subscribe([](AccentTheme) {});
  std::vector<AccentTheme> seen;
  {
    const auto subscription = state.subscribe([&](AccentTheme theme) { seen.push_back(theme); });
    state.setValue(AccentTheme::indigo);
    EXPECT_EQ(state.value(), AccentTheme::indigo);
  }
  state.setValue(AccentTheme::lagune);
  EXPECT_EQ(seen, std::vector<AccentTheme>{AccentTheme::indigo});
}

// The only test that makes the shared state, so it sees the preference it
// writes; the shared state is read once and keeps its theme afterwards.
TEST(AccentState, SharedStateReadsThePreferenceOnce) {
  const testing_support::TemporaryDirectory home;
  const testing_support::ScopedEnvironmentVariable config("XDG_CONFIG_HOME", home.path().string());
  const Preferences preferences(Preferences::defaultLocation());
  preferences.setString("accent", "Lagune");

  EXPECT_EQ(AccentState::shared().value(), AccentTheme::lagune);
  preferences.setString("accent", "Indigo");
  EXPECT_EQ(AccentState::shared().value(), AccentTheme::lagune);
  EXPECT_EQ(&AccentState::shared(), &AccentState::shared());
}

}  // namespace
}  // namespace kelpo
