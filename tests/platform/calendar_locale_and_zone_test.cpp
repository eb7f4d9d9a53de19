// The user's locale and zone: where they come from, what TZ may hold, and
// what an unusable one falls back to; local days and clock style.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/calendar.h"
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

TEST(UserTimeZone, ZoneIdsFromOptionsAndTz) {
  EXPECT_EQ(userTimeZoneId("/usr/share/zoneinfo/Europe/Paris"), "Europe/Paris");
  {
    const Variable tz("TZ", ":America/New_York");
    EXPECT_EQ(userTimeZoneId(), "America/New_York");
  }
  {
    const Variable tz("TZ", "/usr/share/zoneinfo/posix/Asia/Tokyo");
    EXPECT_EQ(userTimeZoneId(), "Asia/Tokyo");
  }
  const Variable unset("TZ", std::nullopt);
  const std::string system = userTimeZoneId();
  EXPECT_TRUE(isUsableTimeZone(system));  // the host's zone, or UTC
  for (const char* garbage : {"Mars/Olympus_Mons", "garbage+garbage", ":"}) {
    const Variable tz("TZ", garbage);
    EXPECT_EQ(userTimeZoneId(), system) << garbage;
  }
  const Variable tz("TZ", ":/etc/localtime");
  EXPECT_EQ(userTimeZoneId(), system) << "the link /etc/localtime is the system zone";
}

// What TZ may hold beyond an IANA name, as the C library reads it, and what
// makes a zone unusable. Offsets are checked through the local hour of
// 12:00 UTC on a winter and a summer day.
TEST(UserTimeZone, OffsetsAndPosixRulesAreZonesAndGarbageIsNot) {
  struct Case {
    const char* id;
    int winterHour;  // local hour at 2026-01-15T12:00Z
    int summerHour;  // local hour at 2026-07-15T12:00Z
  };
  const Case cases[] = {
      {"GMT+05:30", 17, 17},
      {"UTC+5", 7, 7},                           // POSIX: five hours behind UTC
      {"<+0330>-3:30", 15, 15},                  // a quoted name, half-hour offset
      {"EST+5EDT,M3.2.0/2,M11.1.0/2", 7, 8},     // daylight saving rules
      {"AEST-10AEDT,M10.1.0,M4.1.0/3", 23, 22},  // southern summer
      {"NZST-12NZDT", 0, 1},  // a summer name with no rules: the default rules (north)
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(isUsableTimeZone(c.id)) << c.id;
    const CalendarContext calendar("fr_FR", c.id);
    EXPECT_EQ(calendar.hourMinute(utc(2026, 1, 15, 12, 0)).hour, c.winterHour) << c.id;
    EXPECT_EQ(calendar.hourMinute(utc(2026, 7, 15, 12, 0)).hour, c.summerHour) << c.id;
  }
  for (const char* garbage :
       {"", "Mars/Olympus_Mons", "UT+5", "UTC+", "UTC+5EDT,M13.1.0,M1.1.0", "<+03", "UTC+5 x"}) {
    EXPECT_FALSE(isUsableTimeZone(garbage)) << garbage;
  }
}

}  // namespace
}  // namespace kelpo
