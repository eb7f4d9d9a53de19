#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/ui/layout_test_support.h"
#include "style/score_badge.h"
#include "style/score_heat.h"
#include "support/case_names.h"
#include "support/colors.h"
#include "support/laid_out_queries.h"

namespace kelpo {
namespace {

using testing_support::channels;
using testing_support::nodesOfKind;
using testing_support::nodesWhere;
using ui::ColorScheme;
using ui::LaidOutNode;
using ui::Rgba;

LaidOutNode layOutBadge(const ScoreBadge& badge, ColorScheme scheme = ColorScheme::light) {
  static const ui::testing::FakeTextMeasurer measurer;
  ui::Environment environment = ui::testing::testEnvironment();
  environment.colorScheme = scheme;
  return ui::layoutView(badge.body(), {100, 100}, environment, measurer);
}

const LaidOutNode& onlyText(const LaidOutNode& badge) {
  const auto texts = nodesOfKind(badge, LaidOutNode::Kind::text);
  EXPECT_EQ(texts.size(), 1u) << ui::dumpNode(badge, ColorScheme::light);
  return texts.empty() ? badge : *texts.front();
}

// The plate: the filled shape behind the digits.
const LaidOutNode& plate(const LaidOutNode& badge) {
  const auto fills = nodesWhere(badge, [](const LaidOutNode& node) {
    return node.kind == LaidOutNode::Kind::shape && node.fill.has_value();
  });
  EXPECT_EQ(fills.size(), 1u) << ui::dumpNode(badge, ColorScheme::light);
  return fills.empty() ? badge : *fills.front();
}

std::vector<const LaidOutNode*> sheenBands(const LaidOutNode& badge) {
  return nodesWhere(badge, [](const LaidOutNode& node) { return node.rotationDegrees != 0; });
}

Rgba colorOf(const ui::Paint& paint, ColorScheme scheme) {
  return std::get<ui::Color>(paint).resolve(scheme);
}

struct BadgeCase {
  const char* name;
  std::int64_t score;
  bool unread;
  ColorScheme scheme;
  std::string text;
  Rgba digits;
  std::optional<Rgba> plateColor;  // none: the gold gradient
  Rgba shadow;
  std::string label;
};

const Rgba kNoShadow{0, 0, 0, 0};

void PrintTo(const BadgeCase& c, std::ostream* out) {
  *out << c.name;
}

class ScoreBadgeTest : public testing::TestWithParam<BadgeCase> {};

TEST_P(ScoreBadgeTest, ShowsTheScoreInItsHeat) {
  const BadgeCase& expected = GetParam();
  const LaidOutNode badge = layOutBadge({expected.score, 22, expected.unread}, expected.scheme);
  const std::string dump = ui::dumpNode(badge, expected.scheme);

  const LaidOutNode& text = onlyText(badge);
  ASSERT_EQ(text.text.runs.size(), 1u) << dump;
  EXPECT_EQ(text.text.runs[0].text, expected.text) << dump;
  EXPECT_EQ(colorOf(text.text.runs[0].foreground, expected.scheme), expected.digits) << dump;

  if (expected.plateColor) {
    EXPECT_EQ(colorOf(*plate(badge).fill, expected.scheme), *expected.plateColor) << dump;
  } else {
    EXPECT_EQ(*plate(badge).fill, ui::Paint(goldGradient())) << dump;
  }

  ASSERT_TRUE(badge.shadow.has_value()) << dump;
  EXPECT_EQ(badge.shadow->color.resolve(expected.scheme), expected.shadow) << dump;
  EXPECT_EQ(badge.shadow->radius, 6);
  EXPECT_EQ(badge.shadow->x, 0);
  EXPECT_EQ(badge.shadow->y, 4);

  EXPECT_TRUE(badge.accessibility.isElement) << dump;
  EXPECT_EQ(badge.accessibility.label, expected.label) << dump;

  const bool gold = !expected.plateColor.has_value();
  EXPECT_EQ(sheenBands(badge).size(), gold ? 1u : 0u) << dump;
  const auto borders = nodesWhere(badge, [](const LaidOutNode& node) { return node.strokeInside; });
  EXPECT_EQ(borders.size(), gold ? 1u : 0u) << dump;
}

const Rgba kGoldInk = channels(0x5A, 0x39, 0x00);
const Rgba kWhite = channels(255, 255, 255);
const Rgba kNine = channels(0xD9, 0x54, 0x2F);
const std::string kGoldLabel = "Note 10 sur 10, pépite";

INSTANTIATE_TEST_SUITE_P(
    Scores, ScoreBadgeTest,
    testing::Values(BadgeCase{"seven", 7, false, ColorScheme::light, "7",
                              channels(0x9A, 0x64, 0x09), channels(0xFC, 0xF1, 0xDE), kNoShadow,
                              "Note 7 sur 10"},
                    BadgeCase{"nine", 9, false, ColorScheme::light, "9", kWhite, kNine,
                              Rgba{kNine.red, kNine.green, kNine.blue, 0.45}, "Note 9 sur 10"},
                    BadgeCase{"ten", 10, false, ColorScheme::light, "10", kGoldInk, std::nullopt,
                              channels(0xE0, 0xA5, 0x26, 0.45), kGoldLabel},
                    BadgeCase{"twelveShowsUnclamped", 12, false, ColorScheme::dark, "12", kGoldInk,
                              std::nullopt, channels(0xE0, 0xA5, 0x26, 0.45), kGoldLabel},
                    BadgeCase{"negativeShowsUnclamped", -3, false, ColorScheme::light, "-3",
                              channels(0x1F, 0x4F, 0x96), channels(0xCF, 0xE2, 0xFB), kNoShadow,
                              "Note -3 sur 10"},
                    BadgeCase{"unreadTenIsNeutral", 10, true, ColorScheme::light, "?",
                              channels(0x55, 0x5F, 0x6E), channels(0xED, 0xEF, 0xF3), kNoShadow,
                              "Pas de note : rien n’a pu être lu"}),
    testing_support::CaseName());

TEST(ScoreBadge, SheenBandIsSlantedUntouchableAndCutToTheBadge) {
  const LaidOutNode badge = layOutBadge({10, 22, false});
  const auto readers =
      nodesWhere(badge, [](const LaidOutNode& node) { return node.clip.has_value(); });
  ASSERT_EQ(readers.size(), 1u);
  EXPECT_FALSE(readers[0]->hitTestable);
  EXPECT_EQ(readers[0]->clip->cornerRadius, plate(badge).shape.cornerRadius);
  const auto bands = sheenBands(badge);
  ASSERT_EQ(bands.size(), 1u);
  EXPECT_EQ(bands[0]->rotationDegrees, 20);
  EXPECT_EQ(bands[0]->frame.origin, readers[0]->frame.origin)
      << "at the reader's top-leading corner";
  EXPECT_NEAR(bands[0]->offset.x, 22 * 0.22 - 22 * 1.2, 1e-9);
  EXPECT_NEAR(bands[0]->offset.y, -11, 1e-9);
}

}  // namespace
}  // namespace kelpo
