// The medium widget in each mode: sidebar, heading, rows and their links,
// the week's message and tiles.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/layout/widget_geometry.h"
#include "engine/layout_test_support.h"
#include "engine/output/hit_testing.h"
#include "style/color_literal.h"
#include "support/colors.h"
#include "support/laid_out_queries.h"
#include "support/widget_fixtures.h"

namespace kelpo {
namespace {

using namespace testing_support;
using Texts = std::vector<std::string>;

ui::LaidOutWidget medium(const WidgetSnapshot& snapshot, AccentTheme accent = AccentTheme::braise) {
  return layOutWidget(snapshot, WidgetFamily::systemMedium, accent);
}

bool shows(const ui::LaidOutWidget& widget, const std::string& text) {
  return findText(widget.content, text) != nullptr;
}

const ui::LaidOutNode* weekRing(const ui::LaidOutWidget& widget) {
  const auto rings = nodesWhere(widget.content, [](const ui::LaidOutNode& n) {
    return n.accessibility.label == "Ta semaine";
  });
  return rings.size() == 1 ? rings[0] : nullptr;
}

// The texts of the right column: everything right of the sidebar's ring.
Texts mainColumnTexts(const ui::LaidOutWidget& widget) {
  const auto* ring = weekRing(widget);
  if (ring == nullptr) return {};
  Texts texts;
  for (const auto* node : allNodes(widget.content)) {
    if (node->kind == ui::LaidOutNode::Kind::text && node->frame.minX() > ring->frame.maxX()) {
      texts.push_back(shownText(*node));
    }
  }
  return texts;
}

TEST(MediumLayoutLists, SampleShowsHeadingThreeLinkedRowsAndTheSidebar) {
  const auto snapshot = sample();
  const auto widget = medium(snapshot);
  EXPECT_EQ(mainColumnTexts(widget),
            (Texts{"3 à trier", "9", "AGP 9.5 : mapping.txt corrigé", "Pixelbarn · 30 min", "8",
                   "Blender 4.5 : support des GPU Apple", "shader-forge · 30 min", "7",
                   "Swift 6.2 : concurrence stricte par défaut", "Suggestion · 30 min"}));
  EXPECT_TRUE(shows(widget, "Ta semaine"));
  EXPECT_TRUE(shows(widget, "2 h 15 / 5 h"));
  EXPECT_TRUE(shows(widget, "demain 8:00"));  // the short form
  EXPECT_EQ(widget.widgetURL, "kelpo://inbox");

  // Each row opens its own item; anywhere else opens the inbox.
  for (const auto& item : snapshot.toSort) {
    const auto* title = findText(widget.content, item.title);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(ui::linkAt(widget, title->frame.center()), "kelpo://topic/" + item.id.string());
  }
  EXPECT_EQ(ui::linkAt(widget, findText(widget.content, "3 à trier")->frame.center()),
            "kelpo://inbox");
  EXPECT_EQ(ui::linkAt(widget, findText(widget.content, "Ta semaine")->frame.center()),
            "kelpo://inbox");
}

TEST(MediumLayoutLists, ListsAtMostTheFirstThreeItemsUnderTheCount) {
  auto snapshot = sample();
  snapshot.toSortCount = 7;
  snapshot.toSort.push_back(listedItem("Quatrième", 5, "d4"));
  snapshot.toSort.push_back(listedItem("Cinquième", 5, "d5"));
  const auto widget = medium(snapshot);
  EXPECT_TRUE(shows(widget, "7 à trier"));
  EXPECT_TRUE(shows(widget, snapshot.toSort[2].title));
  EXPECT_FALSE(shows(widget, "Quatrième"));
  EXPECT_EQ(links(widget.content).size(), 3u);
}

TEST(MediumLayoutLists, ProgrammeWithOneItemShowsOneRow) {
  const auto snapshot = programWeek(1);
  const auto widget = medium(snapshot);
  EXPECT_EQ(mainColumnTexts(widget),
            (Texts{"1 au programme", "6", "Rust 1.80 : LazyLock", "Blog Rust · 12 min"}));
  EXPECT_EQ(links(widget.content),
            (std::vector<std::string>{"kelpo://topic/" + snapshot.program[0].id.string()}));
  EXPECT_EQ(widget.widgetURL, "kelpo://program");
}

TEST(MediumLayoutLists, CountWithAnEmptyListShowsOnlyTheHeading) {
  auto snapshot = sample();
  snapshot.toSort.clear();
  EXPECT_EQ(mainColumnTexts(medium(snapshot)), (Texts{"3 à trier"}));
}

TEST(MediumLayoutWeek, CompleteWeekMessageEndsWithABoldAccentedInvitation) {
  const auto widget = medium(unfinishedWeek(), AccentTheme::lagune);
  EXPECT_EQ(mainColumnTexts(widget),
            (Texts{"Programme fini", "Il te reste 2 h 45 cette semaine. Compléter ma semaine ›",
                   "3", "sujets faits", "45 %", "de ta semaine"}));
  EXPECT_EQ(widget.widgetURL, "kelpo://complete-week");

  // The invitation is a bold run in the deep accent.
  const auto* message =
      findText(widget.content, "Il te reste 2 h 45 cette semaine. Compléter ma semaine ›");
  ASSERT_NE(message, nullptr);
  ASSERT_EQ(message->text.runs.size(), 2u);
  const auto& invitation = message->text.runs[1];
  EXPECT_EQ(invitation.font, ui::Font::system(12.5, ui::FontWeight::bold));
  EXPECT_EQ(resolved(invitation.foreground, ui::ColorScheme::dark), parseColorLiteral("#6FE0DC"));
  EXPECT_FALSE(message->textFit.truncated);
}

TEST(MediumLayoutWeek, FullAndIdleWeeksHaveTheirHeadingAndMessage) {
  const auto full = medium(fullWeek());
  EXPECT_EQ(
      mainColumnTexts(full),
      (Texts{"Semaine remplie ✓", "Tes 5 h sont faites. Je dors jusqu’à la prochaine fouille.", "3",
             "sujets faits", "100 %", "de ta semaine"}));
  EXPECT_EQ(full.widgetURL, "kelpo://program");

  auto withoutBudgetLabel = fullWeek();
  withoutBudgetLabel.weekBudgetLabel.reset();
  EXPECT_TRUE(
      shows(medium(withoutBudgetLabel), "Tes  sont faites. Je dors jusqu’à la prochaine fouille."));

  const auto idle = medium(idleWeek());
  EXPECT_EQ(mainColumnTexts(idle),
            (Texts{"Tout est trié",
                   "Rien en attente, rien au programme. Je dors jusqu’à la prochaine fouille.", "3",
                   "sujets faits", "0 %", "de ta semaine"}));
}

// The percentage arithmetic itself is the week figures' test; here the
// count's singular and plural, an absent count, and huge figures as shown.
TEST(MediumLayoutWeek, TilesShowTopicsDoneAndTheShareOfTheWeek) {
  constexpr auto most = std::numeric_limits<std::int64_t>::max();
  const struct {
    std::optional<std::int64_t> doneCount;
    std::int64_t done;
    Texts tiles;
  } table[] = {
      {std::nullopt, 135, {"0", "sujet fait", "45 %", "de ta semaine"}},
      {1, 135, {"1", "sujet fait", "45 %", "de ta semaine"}},
      {2, 135, {"2", "sujets faits", "45 %", "de ta semaine"}},
      {most, most, {"9223372036854775807", "sujets faits", "100 %", "de ta semaine"}},
  };
  for (const auto& [doneCount, done, tiles] : table) {
    auto snapshot = unfinishedWeek();
    snapshot.weekDoneCount = doneCount;
    snapshot.weekDone = done;
    const auto texts = mainColumnTexts(medium(snapshot));
    ASSERT_GE(texts.size(), 4u);
    EXPECT_EQ(Texts(texts.end() - 4, texts.end()), tiles);
  }
}

TEST(MediumLayoutWeek, TilesShareTheRowAndSitAtTheBottom) {
  const auto widget = medium(unfinishedWeek());
  const auto cards = nodesWhere(widget.content, [](const ui::LaidOutNode& n) {
    return n.kind == ui::LaidOutNode::Kind::shape &&
           n.shape.kind == ui::ShapeGeometry::Kind::roundedRectangle;
  });
  ASSERT_EQ(cards.size(), 2u);
  const ui::Rect content = ui::widgetGeometry({364, 170}).contentRect();
  EXPECT_DOUBLE_EQ(cards[0]->frame.size.width, cards[1]->frame.size.width);
  EXPECT_DOUBLE_EQ(cards[1]->frame.minX() - cards[0]->frame.maxX(), 8);
  EXPECT_DOUBLE_EQ(cards[1]->frame.maxX(), content.maxX());
  EXPECT_DOUBLE_EQ(cards[0]->frame.maxY(), content.maxY());
}

TEST(MediumLayoutSidebar, TheRingSitsOnTopAndTheTextsAtTheBottomOfOneCentredColumn) {
  const auto widget = medium(sample());
  const auto* caption = findText(widget.content, "Ta semaine");
  const auto* label = findText(widget.content, "2 h 15 / 5 h");
  const auto* next = findText(widget.content, "demain 8:00");
  const auto* ring = weekRing(widget);
  ASSERT_TRUE(caption && label && next && ring);
  const ui::Rect content = ui::widgetGeometry({364, 170}).contentRect();
  EXPECT_DOUBLE_EQ(ring->frame.minY(), content.minY());
  EXPECT_DOUBLE_EQ(ring->frame.size.width, 76);
  EXPECT_DOUBLE_EQ(caption->frame.center().x, ring->frame.center().x);
  EXPECT_DOUBLE_EQ(label->frame.minY(), caption->frame.maxY());
  EXPECT_DOUBLE_EQ(next->frame.maxY(), content.maxY());
}

TEST(WidgetFamilyDispatch, EachSizeGetsItsLayoutBackgroundAndLink) {
  const auto snapshot = sample();
  const auto small = layOutWidget(snapshot, WidgetFamily::systemSmall);
  EXPECT_TRUE(shows(small, "à trier"));
  EXPECT_FALSE(shows(small, "3 à trier"));
  const auto medium = layOutWidget(snapshot, WidgetFamily::systemMedium);
  EXPECT_TRUE(shows(medium, "3 à trier"));
  for (const auto* widget : {&small, &medium}) {
    EXPECT_TRUE(widget->containerBackground.has_value());
    EXPECT_EQ(widget->widgetURL, "kelpo://inbox");
  }
}

TEST(MediumLayoutPhrases, HeadingAndTileLabelsAreTranslatedBeforeTheyAreShown) {
  auto env = fixtureEnvironment(WidgetFamily::systemMedium);
  env.phrases = std::make_shared<const PhraseBook>(
      PhraseBook::forLocale("en_US", std::filesystem::path(KELPO_RESOURCE_DIR) / "phrases"));
  EXPECT_TRUE(shows(layOutWidget(sample(), env), "3 to sort"));
  const auto week = layOutWidget(unfinishedWeek(), env);
  EXPECT_TRUE(shows(week, "Program done"));
  EXPECT_TRUE(shows(week, "topics done"));
  EXPECT_TRUE(shows(week, "You have 2 h 45 left this week. Complete my week ›"));
}

}  // namespace
}  // namespace kelpo
