#include <gtest/gtest.h>

#include <cstdint>

#include "rgba_printing.h"
#include "style/score_heat.h"

namespace kelpo {
namespace {

using ui::channels;
using ui::ColorScheme;
using ui::Rgba;

// The heat of a score as drawn in one scheme.
struct ResolvedHeat {
  Rgba base, foreground, background;
  bool solid, gold;
  friend bool operator==(const ResolvedHeat&, const ResolvedHeat&) = default;
};

ResolvedHeat resolved(const ScoreHeat& heat, ColorScheme scheme) {
  return {heat.base.resolve(scheme), heat.foreground.resolve(scheme),
          heat.background.resolve(scheme), heat.solid, heat.gold};
}

void PrintTo(const ResolvedHeat& h, std::ostream* out) {
  *out << "{base " << testing::PrintToString(h.base) << ", fg "
       << testing::PrintToString(h.foreground) << ", bg " << testing::PrintToString(h.background)
       << ", solid " << h.solid << ", gold " << h.gold << "}";
}

const Rgba kGoldBase = channels(0xE0, 0xA5, 0x26);
const Rgba kGoldInk = channels(0x5A, 0x39, 0x00);
const Rgba kNineBase = channels(0xD9, 0x54, 0x2F);
const Rgba kWhite = channels(255, 255, 255);

TEST(ScoreHeat, TenAndAboveAreGold) {
  const ResolvedHeat gold{kGoldBase, kGoldInk, kGoldBase, true, true};
  for (const std::int64_t score : {10, 11, 1000}) {
    for (const ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
      EXPECT_EQ(resolved(ScoreHeat::forScore(score), scheme), gold) << score;
    }
  }
}

TEST(ScoreHeat, NineIsSolidWithWhiteDigitsInBothSchemes) {
  const ResolvedHeat nine{kNineBase, kWhite, kNineBase, true, false};
  EXPECT_EQ(resolved(ScoreHeat::forScore(9), ColorScheme::light), nine);
  EXPECT_EQ(resolved(ScoreHeat::forScore(9), ColorScheme::dark), nine);
}

struct AdaptiveRow {
  std::int64_t score;
  ResolvedHeat light;
  ResolvedHeat dark;
};

class AdaptiveHeatTest : public testing::TestWithParam<AdaptiveRow> {};

TEST_P(AdaptiveHeatTest, ResolvesByScheme) {
  const ScoreHeat heat = ScoreHeat::forScore(GetParam().score);
  EXPECT_EQ(resolved(heat, ColorScheme::light), GetParam().light);
  EXPECT_EQ(resolved(heat, ColorScheme::dark), GetParam().dark);
}

AdaptiveRow row(std::int64_t score, Rgba baseLight, Rgba baseDark, Rgba fgLight, Rgba fgDark,
                Rgba bgLight, Rgba bgDark) {
  return {
      score, {baseLight, fgLight, bgLight, false, false}, {baseDark, fgDark, bgDark, false, false}};
}

AdaptiveRow strongBlue(std::int64_t score) {
  return row(score, channels(0x3F, 0x7F, 0xD6), channels(0x5C, 0x9C, 0xF0),
             channels(0x1F, 0x4F, 0x96), channels(0xBF, 0xDA, 0xFF), channels(0xCF, 0xE2, 0xFB),
             channels(92, 156, 240, 0.30));
}

INSTANTIATE_TEST_SUITE_P(
    Scale, AdaptiveHeatTest,
    testing::Values(
        row(8, channels(0xEF, 0x7A, 0x2E), channels(0xFF, 0x9A, 0x57), channels(0xB0, 0x4E, 0x10),
            channels(0xFF, 0xB2, 0x7E), channels(0xFF, 0xE2, 0xCF), channels(255, 140, 80, 0.22)),
        row(7, channels(0xE3, 0xA1, 0x2B), channels(0xF5, 0xBE, 0x5B), channels(0x9A, 0x64, 0x09),
            channels(0xF7, 0xCC, 0x7E), channels(0xFC, 0xF1, 0xDE), channels(245, 190, 91, 0.17)),
        row(6, channels(0xA8, 0x9A, 0x86), channels(0xC9, 0xBB, 0xA6), channels(0x6B, 0x5F, 0x50),
            channels(0xD9, 0xCD, 0xBB), channels(0xF1, 0xEC, 0xE5), channels(201, 187, 166, 0.14)),
        row(5, channels(0x8A, 0x93, 0x9F), channels(0xA9, 0xB8, 0xCC), channels(0x55, 0x5F, 0x6E),
            channels(0xC2, 0xCE, 0xDD), channels(0xED, 0xEF, 0xF3), channels(169, 184, 204, 0.12)),
        row(4, channels(0x7B, 0x93, 0xB4), channels(0x96, 0xB2, 0xD6), channels(0x4A, 0x64, 0x88),
            channels(0xAF, 0xC2, 0xDB), channels(0xEB, 0xF0, 0xF6), channels(150, 178, 214, 0.13)),
        row(3, channels(0x6E, 0x95, 0xCC), channels(0x82, 0xAF, 0xE8), channels(0x3B, 0x67, 0xA3),
            channels(0xA3, 0xC2, 0xEA), channels(0xE5, 0xEE, 0xF8), channels(130, 175, 232, 0.16)),
        row(2, channels(0x5A, 0x8F, 0xD8), channels(0x6E, 0xA6, 0xEE), channels(0x2A, 0x5D, 0xA6),
            channels(0xA9, 0xCB, 0xF6), channels(0xDC, 0xE9, 0xFA), channels(110, 166, 238, 0.22)),
        strongBlue(1), strongBlue(0), strongBlue(-5), strongBlue(INT64_MIN)));

TEST(ScoreHeat, TableHoldsTheScoresOneToTenInOrder) {
  const auto& table = heatTable();
  for (std::int64_t score = 1; score <= 10; ++score) {
    const auto& entry = table[static_cast<std::size_t>(score - 1)];
    for (const ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
      EXPECT_EQ(resolved(entry, scheme), resolved(ScoreHeat::forScore(score), scheme)) << score;
    }
  }
  EXPECT_EQ(&heatTable(), &table) << "made once and shared";
}

TEST(ScoreHeat, BadgePicksTheClampedScoreOrFiveWhenUnread) {
  const auto& table = heatTable();
  EXPECT_EQ(&heatForBadge(0, false), &table[0]);
  EXPECT_EQ(&heatForBadge(-5, false), &table[0]);
  EXPECT_EQ(&heatForBadge(7, false), &table[6]);
  EXPECT_EQ(&heatForBadge(14, false), &table[9]);
  EXPECT_EQ(&heatForBadge(INT64_MAX, false), &table[9]);
  for (const std::int64_t score : {0, 9, 10, 14}) {
    const ScoreHeat& unread = heatForBadge(score, true);
    EXPECT_EQ(&unread, &table[4]) << score;
    EXPECT_FALSE(unread.solid);
    EXPECT_FALSE(unread.gold);
  }
}

TEST(ScoreHeat, GoldGradientRunsCornerToCornerThroughFourStops) {
  const ui::LinearGradient& gradient = goldGradient();
  ASSERT_EQ(gradient.colors.size(), 4u);
  EXPECT_EQ(gradient.colors[0].resolve(ColorScheme::dark), channels(0xFF, 0xE7, 0xA1));
  EXPECT_EQ(gradient.colors[1].resolve(ColorScheme::light), channels(0xF5, 0xC4, 0x51));
  EXPECT_EQ(gradient.colors[2].resolve(ColorScheme::light), channels(0xD9, 0x9A, 0x1E));
  EXPECT_EQ(gradient.colors[3].resolve(ColorScheme::light), channels(0xF3, 0xC7, 0x5A));
  EXPECT_EQ(gradient.startPoint, ui::UnitPoint::topLeading());
  EXPECT_EQ(gradient.endPoint, ui::UnitPoint::bottomTrailing());
}

}  // namespace
}  // namespace kelpo
