// Rows and tiles: verbatim snapshot texts, fonts, and the tile's stretched card.

#include <gtest/gtest.h>

#include <string>

#include "components/row.h"
#include "components/tile.h"
#include "platform/ui/fake_text_measurer.h"
#include "platform/ui/widget_layout.h"
#include "style/color_literal.h"
#include "support/laid_out_queries.h"
#include "support/colors.h"

namespace kelpo {
namespace {

using testing_support::findText;
using testing_support::resolved;

ui::LaidOutNode layOut(const ui::View& view, ui::Size available) {
  const ui::testing::FakeTextMeasurer measurer;
  return ui::layoutView(view, available, ui::Environment{}, measurer);
}

WidgetSnapshot::Item item(std::string title, std::string detail) {
  WidgetSnapshot::Item i;
  i.title = std::move(title);
  i.detail = std::move(detail);
  i.score = 7;
  return i;
}

TEST(RowView, ShowsSnapshotTextsVerbatimEvenWhenTheyLookLikeMarkupOrFormats) {
  const auto row = layOut(Row{.item = item("<b>&amp;</b>", "%@ %lld 100 %")}.body(), {250, 40});
  EXPECT_NE(findText(row, "<b>&amp;</b>"), nullptr);
  EXPECT_NE(findText(row, "%@ %lld 100 %"), nullptr);
}

TEST(RowView, TitleOverDetailBesideA22PointBadge) {
  const auto row = layOut(Row{.item = item("Titre", "Détail")}.body(), {250, 40});
  const auto* title = findText(row, "Titre");
  const auto* detail = findText(row, "Détail");
  ASSERT_NE(title, nullptr);
  ASSERT_NE(detail, nullptr);
  EXPECT_EQ(title->text.runs[0].font, ui::Font::system(12.5, ui::FontWeight::semibold));
  EXPECT_EQ(detail->text.runs[0].font, ui::Font::system(10.5));
  EXPECT_EQ(title->text.style.lineLimit, 1);
  EXPECT_EQ(detail->text.style.lineLimit, 1);
  EXPECT_EQ(resolved(title->text.runs[0].foreground, ui::ColorScheme::dark),
            parseColorLiteral("#F5F1F4"));
  EXPECT_EQ(resolved(detail->text.runs[0].foreground, ui::ColorScheme::light),
            parseColorLiteral("#998F9C"));

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
  const auto tile = layOut(Tile{.value = "45 %", .label = "de ta semaine"}.body(), {140, 100});
  EXPECT_DOUBLE_EQ(tile.frame.size.width, 140);

  const auto* value = findText(tile, "45 %");
  const auto* label = findText(tile, "de ta semaine");
  ASSERT_NE(value, nullptr);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(value->text.runs[0].font,
            ui::Font::custom("Bricolage Grotesque", 24, ui::FontWeight::heavy));
  EXPECT_EQ(value->text.style.minimumScaleFactor, 0.7);
  EXPECT_EQ(label->text.runs[0].font, ui::Font::system(10.5));
  EXPECT_EQ(label->text.style.minimumScaleFactor, 0.8);
  EXPECT_EQ(resolved(label->text.runs[0].foreground, ui::ColorScheme::light),
            parseColorLiteral("#6A5F6E"));
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
  EXPECT_EQ(cards[0]->shape.kind, ui::ShapeGeometry::Kind::roundedRectangle);
  EXPECT_EQ(cards[0]->shape.cornerRadius, 12);
  EXPECT_EQ(cards[0]->shape.cornerStyle, ui::CornerStyle::continuous);
  ASSERT_TRUE(cards[0]->fill.has_value());
  EXPECT_EQ(resolved(*cards[0]->fill, ui::ColorScheme::light),
            parseColorLiteral("rgba(40,24,40,0.055)"));
  EXPECT_EQ(resolved(*cards[0]->fill, ui::ColorScheme::dark),
            parseColorLiteral("rgba(255,255,255,0.08)"));
}

TEST(TileView, ShrinksATooWideValueBeforeCuttingIt) {
  const auto tile = layOut(Tile{.value = "123456789", .label = "x"}.body(), {100, 100});
  const auto* value = findText(tile, "123456789");
  ASSERT_NE(value, nullptr);
  EXPECT_LT(value->textFit.scale, 1);
  EXPECT_GE(value->textFit.scale, 0.7);
}

}  // namespace
}  // namespace kelpo
