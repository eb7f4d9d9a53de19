// The small widget in each mode: counter column, focus block and link.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/output/hit_testing.h"
#include "style/color_literal.h"
#include "support/case_names.h"
#include "support/colors.h"
#include "support/laid_out_queries.h"
#include "support/widget_fixtures.h"

namespace kelpo {
namespace {

using namespace testing_support;
using Texts = std::vector<std::string>;

ui::LaidOutWidget small(const WidgetSnapshot& snapshot) {
  return layOutWidget(snapshot, WidgetFamily::systemSmall);
}

struct SmallCase {
  const char* name;
  WidgetSnapshot (*snapshot)();
  Texts texts;  // in drawing order; the badge's score is a text too
  std::vector<std::string> symbols;
  const char* link;
};

void PrintTo(const SmallCase& c, std::ostream* out) {
  *out << c.name;
}

class SmallLayoutModes : public testing::TestWithParam<SmallCase> {};

TEST_P(SmallLayoutModes, ShowTheirCounterFocusBlockAndLink) {
  const auto& c = GetParam();
  const auto widget = small(c.snapshot());
  EXPECT_EQ(shownTexts(widget.content), c.texts);
  EXPECT_EQ(symbolNames(widget.content), c.symbols);
  EXPECT_EQ(widget.widgetURL, c.link);
  // No per-item links: a click anywhere opens the widget's link.
  EXPECT_TRUE(links(widget.content).empty());
  EXPECT_EQ(ui::linkAt(widget, {85, 130}), c.link);
  EXPECT_TRUE(widget.containerBackground.has_value());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Modes, SmallLayoutModes,
    testing::Values(
        SmallCase{"sample", [] { return sample(); },
                  {"3", "à trier", "AGP 9.5 : mapping.txt corrigé", "9", "Pixelbarn · 30 min"}, {}, "kelpo://inbox"},
        SmallCase{"program", [] { return programWeek(4); },
                  {"4", "à lire", "À LIRE ENSUITE", "Rust 1.80 : LazyLock", "6", "Blog Rust · 12 min"}, {}, "kelpo://program"},
        // The count picks the list: an empty list to sort leaves the block
        // empty even with a programme to read.
        SmallCase{"countWithEmptyList",
                  [] { auto s = sample(); s.toSort.clear(); s.toSortCount = 1; s.program = programWeek(4).program; return s; },
                  {"1", "à trier"}, {}, "kelpo://inbox"},
        SmallCase{"completeWeek", [] { return unfinishedWeek(); },
                  {"2 h 45", "à remplir", "Programme fini.", "Compléter ›"}, {}, "kelpo://complete-week"},
        SmallCase{"completeWeekWithoutLabel", [] { auto s = unfinishedWeek(); s.weekLeftLabel.reset(); return s; },
                  {"", "à remplir", "Programme fini.", "Compléter ›"}, {}, "kelpo://complete-week"},
        SmallCase{"weekFull", [] { return fullWeek(); },
                  {"Semaine remplie", "Je dors jusqu’à la prochaine fouille.", "Fouille demain 8:00"},
                  {"checkmark", "clock"}, "kelpo://program"},
        SmallCase{"idleWhileSearching", [] { auto s = idleWeek(); s.searching = true; return s; },
                  {"Tout est trié", "Je dors jusqu’à la prochaine fouille.", "Fouille en cours"},
                  {"checkmark", "magnifyingglass"}, "kelpo://program"}),
    CaseName());
// clang-format on

TEST(SmallLayoutStyle, CounterIsInTheDeepAccentAndHugsTheTrailingEdge) {
  const auto widget = layOutWidget(sample(), WidgetFamily::systemSmall, AccentTheme::lagune);
  const auto* count = findText(widget.content, "3");
  const auto* label = findText(widget.content, "à trier");
  ASSERT_TRUE(count && label);
  EXPECT_EQ(resolved(count->text.runs[0].foreground, ui::ColorScheme::light),
            parseColorLiteral("#0B6461"));
  // The count's negative bottom padding pulls the label up over its frame.
  EXPECT_LT(label->frame.minY(), count->frame.maxY());
  // The counter column hugs the trailing edge of the content.
  EXPECT_DOUBLE_EQ(label->frame.maxX(), 170 - 16);
}

TEST(SmallLayoutStyle, FocusBlockSitsAtTheBottomUnderTheRing) {
  const auto widget = small(sample());
  const auto* detail = findText(widget.content, "Pixelbarn · 30 min");
  const auto* title = findText(widget.content, "AGP 9.5 : mapping.txt corrigé");
  ASSERT_TRUE(detail && title);
  EXPECT_EQ(title->text.style.lineLimit, 2);
  EXPECT_DOUBLE_EQ(title->frame.minX(), 16);
  EXPECT_LE(detail->frame.maxY(), 170 - 16);
  EXPECT_GT(title->frame.minY(), 16 + 62);
}

TEST(SmallLayoutStyle, LocalisesTheCounterLabelWithThePhraseBook) {
  auto env = fixtureEnvironment(WidgetFamily::systemSmall);
  env.phrases = std::make_shared<const PhraseBook>(
      PhraseBook::parse("msgid \"à trier\"\nmsgstr \"to sort\"\n"));
  const auto widget = layOutWidget(sample(), env);
  EXPECT_NE(findText(widget.content, "to sort"), nullptr);
  EXPECT_EQ(findText(widget.content, "à trier"), nullptr);
}

}  // namespace
}  // namespace kelpo
