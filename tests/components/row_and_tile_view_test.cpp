// Rows and tiles: verbatim snapshot texts, which text stands out, and where
// texts sit beside the badge and on the tile's stretched card.

#include <gtest/gtest.h>

#include <string>

#include "components/row.h"
#include "components/tile.h"
#include "engine/layout_test_support.h"
#include "support/colors.h"
#include "support/laid_out_queries.h"

namespace kelpo {
namespace {

using testing_support::findText;
using testing_support::resolved;
using ui::testing::layOut;

WidgetSnapshot::Item item(std::string title, std::string detail) {
  WidgetSnapshot::Item i;
  i.title = std::move(title);
  i.detail = std::move(detail);
  i.score = 7;
  return i;
}

// Snapshot texts are shown verbatim even when they look like markup or
// formats; the title stands out over its detail, both clear of the badge.
TEST(RowView, TitleOverDetailBesideTheBadgeShownVerbatim) {
  const auto row = layOut(Row{.item = item("<b>&amp;</b>", "%@ %lld 100 %")}.body(), {250, 40});
  const auto* title = findText(row, "<b>&amp;</b>");
  const auto* detail = findText(row, "%@ %lld 100 %");
  const auto plates = testing_support::shapes(row);
  ASSERT_TRUE(title && detail);
  ASSERT_FALSE(plates.empty());
  const ui::Rect badge = plates.front()->frame;

  const ui::Font& titleFont = title->text.runs[0].font;
  const ui::Font& detailFont = detail->text.runs[0].font;
  EXPECT_GT(titleFont.size, detailFont.size);
  EXPECT_GT(titleFont.weight, detailFont.weight);
  EXPECT_EQ(detail->textFit.lineCount, 1);

  // The texts start after the badge with some room, left-aligned together,
  // the detail under the title; the badge sits beside them, not above.
  EXPECT_GT(title->frame.minX(), badge.maxX());
  EXPECT_DOUBLE_EQ(detail->frame.minX(), title->frame.minX());
  EXPECT_GE(detail->frame.minY(), title->frame.maxY());
  EXPECT_LT(badge.minY(), detail->frame.minY());
  EXPECT_GT(badge.maxY(), title->frame.maxY());
}

TEST(RowView, CutsALongTitleToOneLine) {
  const auto row = layOut(Row{.item = item(std::string(200, 'x'), "d")}.body(), {250, 40});
  const auto* title = findText(row, std::string(200, 'x'));
  ASSERT_NE(title, nullptr);
  EXPECT_TRUE(title->textFit.truncated);
  EXPECT_EQ(title->textFit.lineCount, 1);
  EXPECT_LE(title->frame.maxX(), 250);
}

TEST(TileView, StretchesToTheOfferedWidthWithTextsOnTheLeadingSide) {
  const auto tile =
      layOut(Tile{.value = "45 %", .label = {"de ta semaine", {}}}.body(), {140, 100});
  EXPECT_DOUBLE_EQ(tile.frame.size.width, 140);
  const auto* value = findText(tile, "45 %");
  const auto* label = findText(tile, "de ta semaine");
  ASSERT_TRUE(value && label);

  // One tinted card covers the whole stretched width, seen in both
  // appearances, with the texts inside it clear of its edges.
  const auto cards = testing_support::shapes(tile);
  ASSERT_EQ(cards.size(), 1u);
  const ui::Rect card = cards[0]->frame;
  EXPECT_DOUBLE_EQ(card.size.width, 140);
  ASSERT_TRUE(cards[0]->fill.has_value());
  for (const ui::ColorScheme scheme : {ui::ColorScheme::light, ui::ColorScheme::dark}) {
    EXPECT_GT(resolved(*cards[0]->fill, scheme).alpha, 0);
  }
  for (const auto* text : {value, label}) {
    EXPECT_GT(text->frame.minX(), card.minX());
    EXPECT_GT(text->frame.minY(), card.minY());
    EXPECT_LT(text->frame.maxY(), card.maxY());
    EXPECT_LT(text->frame.maxX(), card.maxX());
  }

  // The value over its label, both on the card's leading side.
  EXPECT_DOUBLE_EQ(label->frame.minX(), value->frame.minX());
  EXPECT_LT(value->frame.minX() - card.minX(), card.maxX() - value->frame.maxX());
  EXPECT_GE(label->frame.minY(), value->frame.maxY());
  EXPECT_GT(value->text.runs[0].font.size, label->text.runs[0].font.size);
}

TEST(TileView, ShrinksATooWideValueBeforeCuttingIt) {
  const auto tile = layOut(Tile{.value = "123456789", .label = {"x", {}}}.body(), {100, 100});
  const auto* value = findText(tile, "123456789");
  ASSERT_NE(value, nullptr);
  EXPECT_LT(value->textFit.scale, 1);
  EXPECT_GE(value->textFit.scale, 0.7);
}

}  // namespace
}  // namespace kelpo
