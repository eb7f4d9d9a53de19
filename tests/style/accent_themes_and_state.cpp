#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/preferences.h"
#include "rgba_printing.h"
#include "style/accent_state.h"
#include "style/accent_theme.h"

namespace kelpo {
namespace {

using ui::channels;
using ui::ColorScheme;

TEST(AccentTheme, ListsItsCasesInOrderWithTheirRawValues) {
  std::vector<std::string_view> raws;
  for (const AccentTheme theme : allCases) raws.push_back(rawValue(theme));
  EXPECT_EQ(raws, (std::vector<std::string_view>{"Braise", "Framboise", "Lagune", "Indigo"}));
  for (const AccentTheme theme : allCases) {
    EXPECT_EQ(accentThemeFromRawValue(rawValue(theme)), theme);
  }
}

TEST(AccentTheme, MatchesRawValuesExactly) {
  for (const char* raw : {"", "braise", "INDIGO", "Lagune ", " Lagune", "Lagun", "Rose"}) {
    EXPECT_EQ(accentThemeFromRawValue(raw), std::nullopt) << raw;
  }
}

struct PaletteCase {
  AccentTheme theme;
  ui::Rgba mainLight, mainDark, deepLight, deepDark;
};

class AccentPaletteTest : public testing::TestWithParam<PaletteCase> {};

TEST_P(AccentPaletteTest, HoldsTheThemeColors) {
  const AccentPalette colors = palette(GetParam().theme);
  EXPECT_EQ(colors.accentMain.resolve(ColorScheme::light), GetParam().mainLight);
  EXPECT_EQ(colors.accentMain.resolve(ColorScheme::dark), GetParam().mainDark);
  EXPECT_EQ(colors.accentDeep.resolve(ColorScheme::light), GetParam().deepLight);
  EXPECT_EQ(colors.accentDeep.resolve(ColorScheme::dark), GetParam().deepDark);
}

INSTANTIATE_TEST_SUITE_P(
    AllThemes, AccentPaletteTest,
    testing::Values(
        PaletteCase{AccentTheme::braise, channels(0xE8, 0x54, 0x2F), channels(0xFF, 0x7A, 0x55),
                    channels(0xB9, 0x3F, 0x1E), channels(0xFF, 0x9A, 0x7C)},
        PaletteCase{AccentTheme::framboise, channels(0xD6, 0x46, 0x7C), channels(0xF2, 0x7A, 0xA6),
                    channels(0xA8, 0x33, 0x61), channels(0xF7, 0x9B, 0xBE)},
        PaletteCase{AccentTheme::lagune, channels(0x0E, 0x85, 0x82), channels(0x3F, 0xD2, 0xCE),
                    channels(0x0B, 0x64, 0x61), channels(0x6F, 0xE0, 0xDC)},
        PaletteCase{AccentTheme::indigo, channels(0x52, 0x57, 0xE5), channels(0x8B, 0x90, 0xFF),
                    channels(0x3A, 0x3F, 0xC2), channels(0xA9, 0xAD, 0xFF)}));

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
           {"Indigo", AccentTheme::indigo},
           {"INDIGO", AccentTheme::braise},
           {"Turquoise", AccentTheme::braise},
       }) {
    EXPECT_EQ(AccentState::themeFromPreference(stored), expected) << stored.value_or("(absent)");
  }
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
  const auto home =
      std::filesystem::temp_directory_path() / ("kelpo-style-accent-" + std::to_string(::getpid()));
  std::filesystem::create_directories(home);
  ::setenv("XDG_CONFIG_HOME", home.c_str(), 1);
  const Preferences preferences(Preferences::defaultLocation());
  preferences.setString("accent", "Lagune");

  EXPECT_EQ(AccentState::shared().value(), AccentTheme::lagune);
  preferences.setString("accent", "Indigo");
  EXPECT_EQ(AccentState::shared().value(), AccentTheme::lagune);
  EXPECT_EQ(&AccentState::shared(), &AccentState::shared());

  std::filesystem::remove_all(home);
}

}  // namespace
}  // namespace kelpo
