#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/time/instant.h"

namespace kelpo {

// The locale the widget formats with when the environment names none, or
// names the "C"/"POSIX" locale: the widget's own texts are French, so its
// dates and clock style follow suit.
inline constexpr std::string_view fallbackLocaleId = "fr_FR";
// The zone used when the host's zone cannot be found or a zone id is unknown.
inline constexpr std::string_view fallbackTimeZoneId = "Etc/UTC";

// The locale id the user asked for, in ICU form: `requested` when given,
// else the first non-empty of LC_ALL, LC_TIME and LANG. The codeset and
// modifier are dropped ("fr_FR.UTF-8" gives "fr_FR"); "C", "POSIX" and
// nothing at all give the fallback locale.
[[nodiscard]] std::string userLocaleId(std::optional<std::string_view> requested = std::nullopt);

// The zone the user asked for, as an id CalendarContext takes. `requested`
// when given (not checked: see isUsableTimeZone), else TZ when a zone can be
// made of it, else the zone /etc/localtime links to, else the zone ICU
// detects for the host, else UTC. In both, a leading ':' is dropped and a
// path to a zone file, followed through links, gives the zone's id
// ("/usr/share/zoneinfo/Europe/Paris" and, on most systems,
// ":/etc/localtime" name IANA zones).
[[nodiscard]] std::string userTimeZoneId(std::optional<std::string_view> requested = std::nullopt);

// Whether a zone can be made of `id`: an IANA zone ("Europe/Paris", "UTC",
// "EST5EDT"), an offset from GMT ("GMT+05:30") or a POSIX TZ rule read as
// the C library reads it ("UTC+5", "<+0330>-3:30",
// "CET-1CEST,M3.5.0,M10.5.0/3").
[[nodiscard]] bool isUsableTimeZone(std::string_view id);

struct HourMinute {
  int hour = 0;    // 0...23
  int minute = 0;  // 0...59
  friend bool operator==(const HourMinute&, const HourMinute&) = default;
};

// The user's Gregorian calendar: a locale and a time zone, both as ids. A
// plain value, cheap to copy and safe to share between threads; each query
// makes its own ICU objects, but for the locale's date patterns, which are
// made once per locale and process.
//
// The widget never fails on a bad id: an unusable zone is treated as UTC,
// and a locale ICU cannot make date patterns for (a malformed or overlong
// id) is replaced by the fallback locale, as "C" is. The command checks an
// explicit zone first and refuses an unusable one (see isUsableTimeZone).
class CalendarContext {
 public:
  CalendarContext(std::string localeId, std::string timeZoneId);

  // The user's locale and zone from the environment (see userLocaleId and
  // userTimeZoneId).
  [[nodiscard]] static CalendarContext fromEnvironment();

  [[nodiscard]] const std::string& localeId() const { return localeId_; }
  [[nodiscard]] const std::string& timeZoneId() const { return timeZoneId_; }

  // The first instant strictly after `after` that falls on `weekday`
  // (1 = Sunday ... 7 = Saturday) at `hour`:00:00 local time. A time skipped
  // by a daylight-saving gap becomes the first time after the gap (02:00 on
  // a spring-forward night gives 03:00); a time that occurs twice gives its
  // first occurrence. Nothing when the arguments are out of range or no such
  // instant is found.
  [[nodiscard]] std::optional<Instant> nextDateMatching(Instant after, int weekday, int hour) const;

  // The local hour and minute of `instant`.
  [[nodiscard]] HourMinute hourMinute(Instant instant) const;
  // Whether two instants fall on the same local calendar day.
  [[nodiscard]] bool isSameDay(Instant a, Instant b) const;
  // Local calendar days from the day of `from` to the day of `to`: 0 for the
  // same day, 1 when `to` is on the next day, negative when earlier.
  [[nodiscard]] int dayDifference(Instant from, Instant to) const;

  // Whether the locale prefers a 12-hour clock: its preferred hour cycle,
  // the one skeleton "j" stands for, is h or K ("en_US"; "fr_FR" has H). A
  // locale without hour-cycle data counts as 24-hour.
  [[nodiscard]] bool usesTwelveHourClock() const;
  // The locale's abbreviated weekday name of `instant`'s local day, UTF-8
  // ("lun." in French, "Mon" in English).
  [[nodiscard]] std::string abbreviatedWeekday(Instant instant) const;
  // The locale's 12-hour time with an abbreviated day period, exactly as ICU
  // formats it (for en_US, "9:05" U+202F "PM": the narrow no-break space is
  // what current locale data puts before the day period, and what the
  // desktop shows too, so it is kept).
  [[nodiscard]] std::string twelveHourTime(Instant instant) const;

 private:
  std::string localeId_;
  std::string timeZoneId_;
};

}  // namespace kelpo
