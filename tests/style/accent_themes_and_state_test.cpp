#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/preferences.h"
#include "style/accent_state.h"
#include "style/accent_theme.h"
#include "support/colors.h"
#include "support/scoped_environment_variable.h"
#include "support/temporary_directory.h"

namespace kelpo {
namespace {

using testing_support::channels;
using ui::ColorScheme;

// Raw values match exactly (case and spaces count); anything else is Braise.
TEST(AccentState, TakesTheThemeNamedByThePreference) {
  struct Case {
    std::optional<std::string> stored;
    AccentTheme expected;
  };
  for (const auto& [stored, expected] : std::vector<Case>{
           {std::nullopt, AccentTheme::braise},
           {"", AccentTheme::braise},
           {"Lagune", AccentTheme::lagune},
           {"lagune", AccentTheme::braise},
           {"Lagune ", AccentTheme::braise},
           {"Framboise", AccentTheme::framboise},
           {"Indigo", AccentTheme::indigo},
           {"INDIGO", AccentTheme::braise},
           {"Turquoise", AccentTheme::braise},
       }) {
    EXPECT_EQ(AccentState::themeFromPreference(stored), expected) << stored.value_or("(absent)");
  }
}

// One representative palette; the Braise and Lagune ones are drawn by the
// component and layout tests.
TEST(AccentPalette, HoldsTheThemeColors) {
  const AccentPalette colors = palette(AccentTheme::indigo);
  EXPECT_EQ(colors.accentMain.resolve(ColorScheme::light), channels(0x52, 0x57, 0xE5));
  EXPECT_EQ(colors.accentMain.resolve(ColorScheme::dark), channels(0x8B, 0x90, 0xFF));
  EXPECT_EQ(colors.accentDeep.resolve(ColorScheme::light), channels(0x3A, 0x3F, 0xC2));
  EXPECT_EQ(colors.accentDeep.resolve(ColorScheme::dark), channels(0xA9, 0xAD, 0xFF));
}

TEST(AccentState, TellsObserversUntilTheirSubscriptionEnds) {
  AccentState state(AccentTheme::braise);
  std::vector<AccentTheme> seen;
  {
    const auto subscription = state.subscribe([&](AccentTheme theme) { seen.push_back(theme); });
    state.setValue(AccentTheme::indigo);
    EXPECT_EQ(state.value(), AccentTheme::indigo);
  }
  state.setValue(AccentTheme::lagune);
  EXPECT_EQ(seen, std::vector<AccentTheme>{AccentTheme::indigo});
}

TEST(AccentState, SubscriptionMayOutliveTheState) {
  AccentState::Subscription subscription;
  {
    AccentState state(AccentTheme::braise);
    subscription = state.subscribe([](AccentTheme) {});
  }
  SUCCEED();  // dropping the subscription now must not touch the freed state
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
