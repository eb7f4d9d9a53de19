#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "platform/calendar.h"

namespace kelpo {
namespace {

using namespace std::chrono;

Instant utc(int y, unsigned m, unsigned d, int h, int min) {
  return Instant{sys_days{year{y} / month{m} / day{d}} + hours{h} + minutes{min}};
}

// Sets environment variables for one test and puts the old values back.
class ScopedEnvironment {
 public:
  using Setting = std::pair<std::string, std::optional<std::string>>;
  explicit ScopedEnvironment(std::initializer_list<Setting> values) {
    for (const auto& [name, value] : values) {
      const char* old = std::getenv(name.c_str());
      saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
      apply(name, value);
    }
  }
  ~ScopedEnvironment() {
    for (const auto& [name, value] : saved_) apply(name, value);
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  static void apply(const std::string& name, const std::optional<std::string>& value) {
    if (value) {
      setenv(name.c_str(), value->c_str(), 1);
    } else {
      unsetenv(name.c_str());
    }
  }
  std::map<std::string, std::optional<std::string>> saved_;
};

TEST(CalendarClockStyle, TwelveHourClockFollowsTheLocalesHourPattern) {
  EXPECT_FALSE(CalendarContext("fr_FR", "Europe/Paris").usesTwelveHourClock());  // "HH 'h'"
  EXPECT_FALSE(CalendarContext("de_DE", "Europe/Paris").usesTwelveHourClock());
  EXPECT_FALSE(CalendarContext("en_GB", "Europe/London").usesTwelveHourClock());
  EXPECT_TRUE(CalendarContext("en_US", "America/New_York").usesTwelveHourClock());
}

TEST(CalendarFormatting, AbbreviatedWeekdayInTheLocale) {
  const Instant mondayMorning = utc(2026, 3, 9, 7, 0);
  EXPECT_EQ(CalendarContext("fr_FR", "Europe/Paris").abbreviatedWeekday(mondayMorning), "lun.");
  EXPECT_EQ(CalendarContext("en_US", "Etc/UTC").abbreviatedWeekday(mondayMorning), "Mon");
  // The weekday is the local one: 06:00 UTC on Monday is still Sunday in
  // Los Angeles.
  EXPECT_EQ(
      CalendarContext("en_US", "America/Los_Angeles").abbreviatedWeekday(utc(2026, 3, 9, 6, 0)),
      "Sun");
}

TEST(CalendarFormatting, TwelveHourTimeKeepsTheLocalesNarrowNoBreakSpace) {
  const CalendarContext calendar("en_US", "America/New_York");
  // 21:05 in New York (UTC-4 in May).
  EXPECT_EQ(calendar.twelveHourTime(utc(2026, 5, 12, 1, 5)), "9:05\u202FPM");
  EXPECT_EQ(calendar.twelveHourTime(utc(2026, 5, 12, 13, 5)), "9:05\u202FAM");
}

TEST(CalendarComponents, HourAndMinuteAreLocal) {
  EXPECT_EQ(CalendarContext("fr_FR", "Europe/Paris").hourMinute(utc(2026, 3, 9, 7, 5)),
            (HourMinute{8, 5}));
  EXPECT_EQ(CalendarContext("fr_FR", "Europe/Paris").hourMinute(utc(2026, 3, 8, 23, 7)),
            (HourMinute{0, 7}));
}

TEST(CalendarComponents, DayDifferenceCountsLocalCalendarDays) {
  const CalendarContext paris("fr_FR", "Europe/Paris");
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
  EXPECT_EQ(userLocaleId("C"), "fr_FR");
  EXPECT_EQ(userLocaleId("C.UTF-8"), "fr_FR");
  EXPECT_EQ(userLocaleId("POSIX"), "fr_FR");
  EXPECT_EQ(userLocaleId(""), "fr_FR");
}

TEST(UserLocale, TakesTheFirstNonEmptyOfLcAllLcTimeAndLang) {
  {
    const ScopedEnvironment environment(
        {{"LC_ALL", ""}, {"LC_TIME", "en_GB.UTF-8"}, {"LANG", "de_DE.UTF-8"}});
    EXPECT_EQ(userLocaleId(), "en_GB");
  }
  {
    const ScopedEnvironment environment(
        {{"LC_ALL", std::nullopt}, {"LC_TIME", std::nullopt}, {"LANG", std::nullopt}});
    EXPECT_EQ(userLocaleId(), "fr_FR");
  }
  EXPECT_EQ(userLocaleId("en_US"), "en_US");  // an explicit choice wins
}

TEST(UserTimeZone, ZoneIdsFromOptionsAndTz) {
  EXPECT_EQ(userTimeZoneId("Europe/Paris"), "Europe/Paris");
  EXPECT_EQ(userTimeZoneId("/usr/share/zoneinfo/Europe/Paris"), "Europe/Paris");
  {
    const ScopedEnvironment environment({{"TZ", ":America/New_York"}});
    EXPECT_EQ(userTimeZoneId(), "America/New_York");
  }
  {
    const ScopedEnvironment environment({{"TZ", "/usr/share/zoneinfo/posix/Asia/Tokyo"}});
    EXPECT_EQ(userTimeZoneId(), "Asia/Tokyo");
  }
  {
    const ScopedEnvironment environment({{"TZ", std::nullopt}});
    EXPECT_TRUE(isKnownTimeZone(userTimeZoneId()));  // the host's zone, or UTC
  }
}

TEST(UserTimeZone, KnownZones) {
  EXPECT_TRUE(isKnownTimeZone("Europe/Paris"));
  EXPECT_TRUE(isKnownTimeZone("UTC"));
  EXPECT_FALSE(isKnownTimeZone("Mars/Olympus_Mons"));
  EXPECT_FALSE(isKnownTimeZone(""));
}

}  // namespace
}  // namespace kelpo
