// The user's locale and zone: where they come from, what TZ may hold, and
// what an unusable one falls back to; local days and clock style.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "base/time/calendar.h"
#include "support/instants.h"
#include "support/scoped_environment_variable.h"

namespace kelpo {
namespace {

using testing_support::utc;
using Variable = testing_support::ScopedEnvironmentVariable;

// The hour cycle comes from ICU's data by language and region; a locale
// without a region takes its language's likely one ("en" is American).
TEST(CalendarClockStyle, TwelveHourClockFollowsTheLocalesHourCycle) {
  for (const char* locale : {"fr_FR", "de_DE", "en_GB", "fr", "ja_JP"}) {
    EXPECT_FALSE(CalendarContext(locale, "Europe/Paris").usesTwelveHourClock()) << locale;
  }
  for (const char* locale : {"en_US", "en", "ko_KR", "en_IN"}) {
    EXPECT_TRUE(CalendarContext(locale, "America/New_York").usesTwelveHourClock()) << locale;
  }
}

TEST(CalendarComponents, WeekdayHourAndDayDifferenceAreLocal) {
  // 06:00 UTC on Monday is still Sunday in Los Angeles.
  EXPECT_EQ(
      CalendarContext("en_US", "America/Los_Angeles").abbreviatedWeekday(utc(2026, 3, 9, 6, 0)),
      "Sun");
  const CalendarContext paris("fr_FR", "Europe/Paris");
  EXPECT_EQ(paris.hourMinute(utc(2026, 3, 8, 23, 7)), (HourMinute{0, 7}));
  const Instant sundayLate = utc(2026, 3, 8, 22, 30);   // Sunday 23:30 in Paris
  const Instant mondayEarly = utc(2026, 3, 8, 23, 30);  // Monday 00:30 in Paris
  EXPECT_EQ(paris.dayDifference(sundayLate, mondayEarly), 1);
  EXPECT_EQ(paris.dayDifference(mondayEarly, sundayLate), -1);
  EXPECT_FALSE(paris.isSameDay(sundayLate, mondayEarly));
  EXPECT_TRUE(CalendarContext("fr_FR", "Etc/UTC").isSameDay(sundayLate, mondayEarly));
  // Across the spring change, a 23-hour day is still one day.
  EXPECT_EQ(paris.dayDifference(utc(2026, 3, 28, 12, 0), utc(2026, 3, 29, 12, 0)), 1);
}

TEST(UserLocale, PosixNamesBecomeIcuIdsAndTheCLocaleFallsBackToFrench) {
  EXPECT_EQ(userLocaleId("fr_FR.UTF-8"), "fr_FR");
  EXPECT_EQ(userLocaleId("de_DE@euro"), "de_DE");
  EXPECT_EQ(userLocaleId("en-US"), "en_US");
  for (const char* fallback : {"C", "C.UTF-8", "POSIX", ""}) {
    EXPECT_EQ(userLocaleId(fallback), "fr_FR") << fallback;
  }
}

TEST(UserLocale, TakesTheFirstNonEmptyOfLcAllLcTimeAndLang) {
  {
    const Variable all("LC_ALL", ""), time("LC_TIME", "en_GB.UTF-8"), lang("LANG", "de_DE.UTF-8");
    EXPECT_EQ(userLocaleId(), "en_GB");
  }
  const Variable all("LC_ALL", std::nullopt), time("LC_TIME", std::nullopt),
      lang("LANG", std::nullopt);
  EXPECT_EQ(userLocaleId(), "fr_FR");
  EXPECT_EQ(userLocaleId("en_US"), "en_US");  // an explicit choice wins
}

// ICU makes no date patterns for an overlong or malformed language: such a
// locale is replaced by French rather than reaching the formatting code.
TEST(UserLocale, AnUnusableLocaleFallsBackToFrench) {
  for (const char* unusable : {"abcdefghijkl", "garbagegarbage", "_FR", "@"}) {
    const CalendarContext calendar(userLocaleId(unusable), "Europe/Paris");
    EXPECT_EQ(calendar.localeId(), "fr_FR") << unusable;
    EXPECT_EQ(calendar.abbreviatedWeekday(utc(2026, 3, 9, 7, 0)), "lun.") << unusable;
  }
  EXPECT_EQ(CalendarContext("xx_YY", "Etc/UTC").localeId(), "xx_YY")
      << "a well-formed unknown locale uses ICU's root data";
}

// TZ holds what the C library reads: a zone's name, or POSIX rules, whose
// offsets count west of UTC. Anything else leaves the host's zone. Hours
// are local at 12:00 UTC on a winter and a summer day.
TEST(UserTimeZone, NamedZonesAndPosixRulesAreZonesAndGarbageFallsBack) {
  const std::string system = [] {
    const Variable unset("TZ", std::nullopt);
    return userTimeZoneId();
  }();
  EXPECT_TRUE(isUsableTimeZone(system));  // the host's zone, or UTC
  for (const char* tz : {":America/New_York", "EST+5EDT,M3.2.0/2,M11.1.0/2"}) {
    const Variable variable("TZ", tz);
    const CalendarContext calendar("fr_FR", userTimeZoneId());
    EXPECT_EQ(calendar.hourMinute(utc(2026, 1, 15, 12, 0)).hour, 7) << tz;
    EXPECT_EQ(calendar.hourMinute(utc(2026, 7, 15, 12, 0)).hour, 8) << tz;
  }
  const Variable garbage("TZ", "Mars/Olympus_Mons");
  EXPECT_EQ(userTimeZoneId(), system);
}

}  // namespace
}  // namespace kelpo
