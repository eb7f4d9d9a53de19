// Rows and tiles: verbatim snapshot texts, fonts, and the tile's stretched card.

#include <gtest/gtest.h>

#include <string>

#include "components/row.h"
#include "components/tile.h"
#include "platform/ui/layout_test_support.h"
#include "style/color_literal.h"
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

// Snapshot texts are shown verbatim even when they look like markup or formats.
TEST(RowView, TitleOverDetailBesideA22PointBadgeShownVerbatim) {
  const auto row = layOut(Row{.item = item("<b>&amp;</b>", "%@ %lld 100 %")}.body(), {250, 40});
  const auto* title = findText(row, "<b>&amp;</b>");
  const auto* detail = findText(row, "%@ %lld 100 %");
  ASSERT_TRUE(title && detail);
  EXPECT_EQ(title->text.runs[0].font, ui::Font::system(12.5, ui::FontWeight::semibold));
  EXPECT_EQ(detail->text.style.lineLimit, 1);
  // Badge 22 wide, then 9 points, then the texts, left-aligned together.
  EXPECT_DOUBLE_EQ(title->frame.minX(), 22 + 9);
  EXPECT_DOUBLE_EQ(detail->frame.minX(), title->frame.minX());
  EXPECT_DOUBLE_EQ(detail->frame.minY(), title->frame.maxY());
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
  // 10 points in from the card's leading edge, 8 down from its top; the
  // label 1 point under the value.
  EXPECT_DOUBLE_EQ(value->frame.minX(), 10);
  EXPECT_DOUBLE_EQ(label->frame.minX(), 10);
  EXPECT_DOUBLE_EQ(value->frame.minY(), 8);
  EXPECT_DOUBLE_EQ(label->frame.minY(), value->frame.maxY() + 1);

  // The tinted card covers the whole stretched, padded area.
  const auto cards = testing_support::shapes(tile);
  ASSERT_EQ(cards.size(), 1u);
  EXPECT_DOUBLE_EQ(cards[0]->frame.size.width, 140);
  EXPECT_DOUBLE_EQ(cards[0]->frame.size.height, label->frame.maxY() + 8);
  ASSERT_TRUE(cards[0]->fill.has_value());
  EXPECT_EQ(resolved(*cards[0]->fill, ui::ColorScheme::dark),
            parseColorLiteral("rgba(255,255,255,0.08)"));
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
