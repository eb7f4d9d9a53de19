// The next-search line as drawn: symbol, text form and shared colour.

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "components/next_search_line.h"
#include "platform/ui/fake_text_measurer.h"
#include "platform/ui/layout/widget_layout.h"
#include "support/colors.h"
#include "support/laid_out_queries.h"

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

// A running search wins over the short form and the date. Symbol and text
// share the muted ink in both schemes.
TEST(NextSearchLineView, ShowsTheSymbolAndTextOfItsStateInOneColour) {
  const struct {
    bool searching, isShort;
    const char* symbol;
    const char* text;
  } table[] = {
      {false, false, "clock", "Fouille demain 9:05"},
      {false, true, "clock", "demain 9:05"},
      {true, false, "magnifyingglass", "Fouille en cours"},
      {true, true, "magnifyingglass", "Fouille en cours"},
  };
  for (const auto& c : table) {
    SCOPED_TRACE(c.text);
    const auto line = layOut(c.searching, c.isShort);
    EXPECT_EQ(testing_support::symbolNames(line), std::vector<std::string>{c.symbol});
    EXPECT_EQ(testing_support::shownTexts(line), std::vector<std::string>{c.text});
    const auto* text = testing_support::findText(line, c.text);
    const auto symbols = testing_support::nodesOfKind(line, ui::LaidOutNode::Kind::symbol);
    ASSERT_TRUE(text != nullptr && symbols.size() == 1 && text->text.runs.size() == 1);
    for (const auto scheme : {ui::ColorScheme::light, ui::ColorScheme::dark}) {
      EXPECT_EQ(resolved(text->text.runs[0].foreground, scheme),
                resolved(symbols[0]->foreground, scheme));
    }
  }
}

}  // namespace
}  // namespace kelpo
