// The next-search line as drawn: symbol, text form and shared colour.

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "components/next_search_line.h"
#include "platform/ui/fake_text_measurer.h"
#include "platform/ui/widget_layout.h"
#include "style/color_literal.h"
#include "support/laid_out_queries.h"
#include "support/colors.h"

namespace kelpo {
namespace {

using namespace std::chrono;
using testing_support::resolved;

// Wednesday 2025-06-11 10:00 UTC; the next search tomorrow at 09:05.
const Instant now = Instant{sys_days{2025y / June / 11}} + hours{10};
const Instant tomorrowMorning = Instant{sys_days{2025y / June / 12}} + hours{9} + minutes{5};

ui::LaidOutNode layOut(bool searching, bool isShort) {
  WidgetSnapshot snapshot;
  snapshot.searching = searching;
  snapshot.nextSearch = tomorrowMorning;
  ui::Environment env;
  env.now = now;
  const ui::testing::FakeTextMeasurer measurer;
  return ui::layoutView(NextSearchLine{.snapshot = snapshot, .isShort = isShort}.body(), {300, 40},
                        env, measurer);
}

struct LineCase {
  const char* name;
  bool searching;
  bool isShort;
  const char* symbol;
  const char* text;
};

class NextSearchLineView : public testing::TestWithParam<LineCase> {};

TEST_P(NextSearchLineView, ShowsTheSymbolAndTextOfItsState) {
  const auto& c = GetParam();
  const auto line = layOut(c.searching, c.isShort);
  EXPECT_EQ(testing_support::symbolNames(line), std::vector<std::string>{c.symbol});
  EXPECT_EQ(testing_support::shownTexts(line), std::vector<std::string>{c.text});
}

INSTANTIATE_TEST_SUITE_P(
    States, NextSearchLineView,
    testing::Values(LineCase{"planned", false, false, "clock", "Fouille demain 9:05"},
                    LineCase{"plannedShort", false, true, "clock", "demain 9:05"},
                    // A running search wins over the short form and the date.
                    LineCase{"running", true, false, "magnifyingglass", "Fouille en cours"},
                    LineCase{"runningShort", true, true, "magnifyingglass", "Fouille en cours"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NextSearchLineStyle, SymbolAndTextShareTheMutedInkButNotTheFont) {
  const auto line = layOut(false, false);
  const auto* text = testing_support::findText(line, "Fouille demain 9:05");
  const auto symbols = testing_support::nodesWhere(
      line, [](const ui::LaidOutNode& n) { return n.kind == ui::LaidOutNode::Kind::symbol; });
  ASSERT_NE(text, nullptr);
  ASSERT_EQ(symbols.size(), 1u);
  ASSERT_EQ(text->text.runs.size(), 1u);

  EXPECT_EQ(text->text.runs[0].font, ui::Font::system(11));
  EXPECT_EQ(text->text.style.lineLimit, 1);
  EXPECT_EQ(symbols[0]->symbolFont, ui::Font::system(9.5, ui::FontWeight::semibold));
  for (const auto scheme : {ui::ColorScheme::light, ui::ColorScheme::dark}) {
    const auto muted = parseColorLiteral(scheme == ui::ColorScheme::light ? "#998F9C" : "#9C91A3");
    EXPECT_EQ(resolved(text->text.runs[0].foreground, scheme), muted);
    EXPECT_EQ(resolved(symbols[0]->foreground, scheme), muted);
  }
}

}  // namespace
}  // namespace kelpo
