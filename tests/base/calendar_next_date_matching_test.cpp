#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>

#include "base/time/calendar.h"
#include "support/instants.h"

namespace kelpo {
namespace {

using testing_support::utc;

constexpr int sunday = 1;
constexpr int monday = 2;
constexpr int friday = 6;

struct MatchCase {
  const char* name;
  std::string zone;
  Instant after;
  int weekday;
  int hour;
  std::optional<Instant> expected;
};

// 2026-03-09 and 2026-03-16 are Mondays; Paris is UTC+1 in winter, UTC+2
// from the last Sunday of March (2026-03-29) to the last of October
// (2026-10-25).
TEST(NextDateMatching, FindsTheFirstMatchingLocalTimeStrictlyAfter) {
  const Instant mondayAtEight = utc(2026, 3, 9, 7, 0);
  // clang-format off
  for (const MatchCase& c : {
      MatchCase{"before eight: the same day", "Europe/Paris", utc(2026, 3, 9, 6, 59), monday, 8, mondayAtEight},
      MatchCase{"at eight: the next Monday", "Europe/Paris", mondayAtEight, monday, 8, utc(2026, 3, 16, 7, 0)},
      MatchCase{"half a second past", "Europe/Paris", mondayAtEight + std::chrono::milliseconds{500}, monday, 8, utc(2026, 3, 16, 7, 0)},
      MatchCase{"Sunday evening crosses the week", "Europe/Paris", utc(2026, 3, 8, 22, 30), monday, 8, mondayAtEight},
      // Sunday 23:30 in Los Angeles is already Monday in UTC: the local day decides.
      MatchCase{"the local day, not UTC's", "America/Los_Angeles", utc(2026, 3, 16, 6, 30), monday, 8, utc(2026, 3, 16, 15, 0)},
      MatchCase{"across the year", "Etc/UTC", utc(2026, 12, 30, 10, 0), monday, 8, utc(2027, 1, 4, 8, 0)},
      // After the clocks go forward, 08:00 local is 06:00 UTC.
      MatchCase{"the Monday after the spring change", "Europe/Paris", utc(2026, 3, 24, 12, 0), monday, 8, utc(2026, 3, 30, 6, 0)},
      // 02:00 does not exist on 29 March in Paris: the end of the gap, 03:00 CEST.
      MatchCase{"a skipped time", "Europe/Paris", utc(2026, 3, 28, 12, 0), sunday, 2, utc(2026, 3, 29, 1, 0)},
      // 02:00 occurs twice on 25 October in Paris: the first, still CEST.
      MatchCase{"a repeated time", "Europe/Paris", utc(2026, 10, 24, 12, 0), sunday, 2, utc(2026, 10, 25, 0, 0)},
      // Apia skipped Friday 30 December 2011 (UTC-10 to UTC+14 at midnight):
      // its 10:00 lies inside the gap, which ends at Saturday 00:00.
      MatchCase{"a time inside a skipped day", "Pacific/Apia", utc(2011, 12, 29, 12, 0), friday, 10, utc(2011, 12, 30, 10, 0)},
      MatchCase{"an unknown zone counts as UTC", "Mars/Olympus_Mons", utc(2026, 3, 9, 6, 0), monday, 8, utc(2026, 3, 9, 8, 0)},
      MatchCase{"weekday out of range", "Europe/Paris", utc(2026, 3, 9, 0, 0), 8, 8, std::nullopt},
      MatchCase{"hour out of range", "Europe/Paris", utc(2026, 3, 9, 0, 0), monday, 24, std::nullopt}}) {
    // clang-format on
    SCOPED_TRACE(c.name);
    const CalendarContext calendar("fr_FR", c.zone);
    EXPECT_EQ(calendar.nextDateMatching(c.after, c.weekday, c.hour), c.expected);
  }
}

}  // namespace
}  // namespace kelpo
