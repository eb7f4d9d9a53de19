#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>

#include "platform/calendar.h"
#include "support/instants.h"

namespace kelpo {
namespace {

using namespace std::chrono;
using testing_support::utc;

constexpr int sunday = 1;
constexpr int monday = 2;

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
  for (const MatchCase& c :
       {MatchCase{"MondayBeforeEightGivesTheSameDay", "Europe/Paris", utc(2026, 3, 9, 6, 59),
                  monday, 8, utc(2026, 3, 9, 7, 0)},
        MatchCase{"MondayAtEightGivesTheNextMonday", "Europe/Paris", utc(2026, 3, 9, 7, 0), monday,
                  8, utc(2026, 3, 16, 7, 0)},
        MatchCase{"HalfASecondPastEightGivesTheNextMonday", "Europe/Paris",
                  utc(2026, 3, 9, 7, 0) + milliseconds{500}, monday, 8, utc(2026, 3, 16, 7, 0)},
        MatchCase{"SundayLateEveningCrossesTheWeek", "Europe/Paris", utc(2026, 3, 8, 22, 30),
                  monday, 8, utc(2026, 3, 9, 7, 0)},
        // Sunday 23:30 in Los Angeles is already Monday in UTC: the local
        // day decides.
        MatchCase{"LocalDayNotUtcDay", "America/Los_Angeles", utc(2026, 3, 16, 6, 30), monday, 8,
                  utc(2026, 3, 16, 15, 0)},
        MatchCase{"CrossesTheYear", "Etc/UTC", utc(2026, 12, 30, 10, 0), monday, 8,
                  utc(2027, 1, 4, 8, 0)},
        // Clocks go forward on Sunday 29 March: the Monday after is still
        // 08:00 local, now 06:00 UTC.
        MatchCase{"MondayAfterTheSpringChange", "Europe/Paris", utc(2026, 3, 24, 12, 0), monday, 8,
                  utc(2026, 3, 30, 6, 0)},
        // 02:00 does not exist on 29 March in Paris: the first time after the
        // gap, 03:00 CEST.
        MatchCase{"SkippedTimeGivesTheEndOfTheGap", "Europe/Paris", utc(2026, 3, 28, 12, 0), sunday,
                  2, utc(2026, 3, 29, 1, 0)},
        // 02:00 occurs twice on 25 October in Paris: the first, still CEST.
        MatchCase{"RepeatedTimeGivesTheFirstOccurrence", "Europe/Paris", utc(2026, 10, 24, 12, 0),
                  sunday, 2, utc(2026, 10, 25, 0, 0)},
        MatchCase{"WeekdayOutOfRange", "Europe/Paris", utc(2026, 3, 9, 0, 0), 8, 8, std::nullopt},
        MatchCase{"HourOutOfRange", "Europe/Paris", utc(2026, 3, 9, 0, 0), monday, 24,
                  std::nullopt}}) {
    SCOPED_TRACE(c.name);
    const CalendarContext calendar("fr_FR", c.zone);
    EXPECT_EQ(calendar.nextDateMatching(c.after, c.weekday, c.hour), c.expected);
  }
}

TEST(NextDateMatchingFallback, UnknownZoneCountsAsUtc) {
  const CalendarContext calendar("fr_FR", "Mars/Olympus_Mons");
  EXPECT_EQ(calendar.nextDateMatching(utc(2026, 3, 9, 6, 0), monday, 8), utc(2026, 3, 9, 8, 0));
}

}  // namespace
}  // namespace kelpo
