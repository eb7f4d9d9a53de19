// The next-search line: its time text (day word, clock style and locale),
// and the symbol, text form and shared colour it is drawn with.

#include "components/next_search_line.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "base/locale/phrases.h"
#include "engine/fake_text_measurer.h"
#include "engine/layout/widget_layout.h"
#include "support/colors.h"
#include "support/instants.h"
#include "support/laid_out_queries.h"

namespace kelpo {
namespace {

using testing_support::resolved;
using testing_support::utc;

ui::Environment environment(std::string locale, std::string zone, Instant now) {
  ui::Environment env;
  env.locale = std::move(locale);
  env.timeZone = std::move(zone);
  env.now = now;
  return env;
}

// Wednesday 2025-06-11, 10:00 UTC.
const Instant wednesdayMorning = utc(2025, 6, 11, 10, 0);

TEST(NextSearchTimeText, FrenchReadsDayWordAndTwentyFourHourClock) {
  const auto env = environment("fr_FR", "Etc/UTC", wednesdayMorning);
  const std::pair<Instant, const char*> table[] = {
      {utc(2025, 6, 11, 14, 30), "aujourd’hui 14:30"}, {utc(2025, 6, 11, 0, 7), "aujourd’hui 0:07"},
      {utc(2025, 6, 12, 9, 5), "demain 9:05"},         {utc(2025, 6, 16, 18, 0), "lun. 18:00"},
      {utc(2025, 6, 10, 8, 0), "mar. 8:00"},  // yesterday shows its weekday
      {utc(2025, 6, 25, 8, 0), "mer. 8:00"},  // over a week ahead: only the weekday
  };
  for (const auto& [when, expected] : table) EXPECT_EQ(nextSearchTimeText(when, env), expected);
}

TEST(NextSearchTimeText, DaylightSavingDayKeepsTodayAndTheLocalHour) {
  // Paris moves from 02:00 to 03:00 on Sunday 2025-03-30. Now is 00:30 local
  // (23:30 UTC the evening before); 21:45 UTC is 23:45 summer time, same day.
  const auto env = environment("fr_FR", "Europe/Paris", utc(2025, 3, 29, 23, 30));
  EXPECT_EQ(nextSearchTimeText(utc(2025, 3, 30, 21, 45), env), "aujourd’hui 23:45");
  EXPECT_EQ(nextSearchTimeText(utc(2025, 3, 30, 1, 0), env), "aujourd’hui 3:00");
  // 23:30 UTC on Wednesday is already Thursday 01:30 in Paris (summer time).
  const auto june = environment("fr_FR", "Europe/Paris", wednesdayMorning);
  EXPECT_EQ(nextSearchTimeText(utc(2025, 6, 11, 23, 30), june), "demain 1:30");
}

TEST(NextSearchTimeText, TwelveHourLocaleFormatsTheClockWithDayPeriod) {
  // Without a phrase book the day words stay French; only the clock follows
  // the en_US locale. ICU puts a narrow no-break space before "PM".
  auto env = environment("en_US", "Etc/UTC", wednesdayMorning);
  EXPECT_EQ(nextSearchTimeText(utc(2025, 6, 12, 21, 5), env), "demain 9:05\u202FPM");
  EXPECT_EQ(nextSearchTimeText(utc(2025, 6, 16, 9, 5), env), "Mon 9:05\u202FAM");
  // The widget's own English table: also proves the keys the line asks for
  // are the ones the table holds.
  env.phrases = std::make_shared<const PhraseBook>(
      PhraseBook::forLocale("en_US", std::filesystem::path(KELPO_RESOURCE_DIR) / "phrases"));
  EXPECT_EQ(nextSearchTimeText(utc(2025, 6, 12, 21, 5), env), "tomorrow 9:05\u202FPM");
  EXPECT_EQ(nextSearchTimeText(utc(2025, 6, 11, 13, 0), env), "today 1:00\u202FPM");
}

ui::LaidOutNode layOut(bool searching, bool isShort) {
  WidgetSnapshot snapshot;
  snapshot.searching = searching;
  snapshot.nextSearch = utc(2025, 6, 12, 9, 5);  // tomorrow morning
  ui::Environment env;
  env.now = wednesdayMorning;
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
