// The badge as laid out: the digits, plate and shadow its heat gives it,
// what it reads as, and the gold badge's sheen band and border.

#include <gtest/gtest.h>

#include <string>

#include "engine/layout_test_support.h"
#include "style/score_badge.h"
#include "style/score_heat.h"
#include "support/case_names.h"
#include "support/colors.h"
#include "support/laid_out_queries.h"

namespace kelpo {
namespace {

using testing_support::nodesWhere;
using testing_support::resolved;
using ui::ColorScheme;
using ui::LaidOutNode;

LaidOutNode layOutBadge(const ScoreBadge& badge) {
  return ui::testing::layOut(badge.body(), {100, 100});
}

// The one node `keep` picks under `badge`, or the badge itself.
template <typename Keep>
const LaidOutNode& onlyNode(const LaidOutNode& badge, Keep keep) {
  const auto found = nodesWhere(badge, keep);
  EXPECT_EQ(found.size(), 1u) << ui::dumpNode(badge, ColorScheme::light);
  return found.empty() ? badge : *found.front();
}

const auto isText = [](const LaidOutNode& n) { return n.kind == LaidOutNode::Kind::text; };
const auto isPlate = [](const LaidOutNode& n) {
  return n.kind == LaidOutNode::Kind::shape && n.fill.has_value();
};
const auto isSheenBand = [](const LaidOutNode& n) { return n.rotationDegrees != 0; };
const auto isBorder = [](const LaidOutNode& n) { return n.strokeInside; };

enum class Look { plain, solid, gold };

struct BadgeCase {
  const char* name;
  std::int64_t score;
  bool unread;
  std::string text;
  std::string label;
  Look look;
};

void PrintTo(const BadgeCase& c, std::ostream* out) {
  *out << c.name;
}

class ScoreBadgeTest : public testing::TestWithParam<BadgeCase> {};

// Which heat a score has is the heat's own test; here, that the badge shows
// the heat of its score (or the unread one) where it belongs.
TEST_P(ScoreBadgeTest, ShowsTheScoreInItsHeat) {
  const BadgeCase& c = GetParam();
  const LaidOutNode badge = layOutBadge({c.score, 22, c.unread});
  const std::string dump = ui::dumpNode(badge, ColorScheme::light);
  const ScoreHeat& heat = heatForBadge(c.score, c.unread);
  const LaidOutNode& text = onlyNode(badge, isText);
  const LaidOutNode& plate = onlyNode(badge, isPlate);
  ASSERT_EQ(text.text.runs.size(), 1u) << dump;
  EXPECT_EQ(text.text.runs[0].text, c.text) << dump;
  EXPECT_EQ(badge.accessibility.label, c.label) << dump;
  EXPECT_TRUE(badge.accessibility.isElement) << dump;
  ASSERT_TRUE(badge.shadow.has_value()) << dump;

  for (const ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
    SCOPED_TRACE(scheme == ColorScheme::light ? "light" : "dark");
    const ui::Rgba digits = resolved(text.text.runs[0].foreground, scheme);
    const ui::Rgba shadow = badge.shadow->color.resolve(scheme);
    switch (c.look) {
      case Look::plain:
        EXPECT_EQ(digits, heat.foreground.resolve(scheme));
        EXPECT_EQ(resolved(*plate.fill, scheme), heat.background.resolve(scheme));
        EXPECT_EQ(shadow.alpha, 0);
        break;
      case Look::solid:
        EXPECT_EQ(digits, ui::Color::white().resolve(scheme));
        EXPECT_EQ(resolved(*plate.fill, scheme), heat.base.resolve(scheme));
        EXPECT_EQ(shadow, heat.base.opacity(0.45).resolve(scheme));
        break;
      case Look::gold:
        EXPECT_EQ(digits, goldInk().resolve(scheme));
        EXPECT_EQ(*plate.fill, ui::Paint(goldGradient()));
        EXPECT_EQ(shadow, heat.base.opacity(0.45).resolve(scheme));
        break;
    }
  }
  const std::size_t goldParts = c.look == Look::gold ? 1 : 0;
  EXPECT_EQ(nodesWhere(badge, isSheenBand).size(), goldParts) << dump;
  EXPECT_EQ(nodesWhere(badge, isBorder).size(), goldParts) << dump;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Scores, ScoreBadgeTest,
    testing::Values(BadgeCase{"seven", 7, false, "7", "Note 7 sur 10", Look::plain},
                    BadgeCase{"nine", 9, false, "9", "Note 9 sur 10", Look::solid},
                    BadgeCase{"ten", 10, false, "10", "Note 10 sur 10, pépite", Look::gold},
                    BadgeCase{"twelveShowsUnclamped", 12, false, "12", "Note 10 sur 10, pépite", Look::gold},
                    BadgeCase{"negativeShowsUnclamped", -3, false, "-3", "Note -3 sur 10", Look::plain},
                    BadgeCase{"unreadTenIsNeutral", 10, true, "?", "Pas de note : rien n’a pu être lu", Look::plain}),
    testing_support::CaseName());
// clang-format on

// Where the band stands as the sheen moves is the sheen test's.
TEST(ScoreBadge, SheenBandIsSlantedUntouchableAndCutToTheBadge) {
  const LaidOutNode badge = layOutBadge({10, 22, false});
  const LaidOutNode& reader =
      onlyNode(badge, [](const LaidOutNode& node) { return node.clip.has_value(); });
  EXPECT_FALSE(reader.hitTestable);
  EXPECT_EQ(reader.clip->cornerRadius, onlyNode(badge, isPlate).shape.cornerRadius);
  const LaidOutNode& band = onlyNode(badge, isSheenBand);
  EXPECT_EQ(band.rotationDegrees, 20);
  EXPECT_EQ(band.frame.origin, reader.frame.origin) << "at the reader's top-leading corner";
}

}  // namespace
}  // namespace kelpo
