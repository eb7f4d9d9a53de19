#include "platform/calendar.h"

#include <unicode/dtptngen.h>
#include <unicode/gregocal.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <utility>

namespace kelpo {
namespace {

using namespace std::chrono;

// ICU dates are milliseconds since the epoch as a double. Sub-millisecond
// parts are dropped towards the past, which keeps "strictly after" honest.
[[nodiscard]] UDate toUDate(Instant instant) {
  return static_cast<UDate>(floor<milliseconds>(instant).time_since_epoch().count());
}

[[nodiscard]] Instant fromUDate(UDate date) {
  return Instant{milliseconds{static_cast<std::int64_t>(std::floor(date))}};
}

[[nodiscard]] icu::UnicodeString unicode(std::string_view utf8) {
  return icu::UnicodeString::fromUTF8(
      icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
}

[[nodiscard]] std::string utf8(const icu::UnicodeString& text) {
  std::string result;
  text.toUTF8String(result);
  return result;
}

[[nodiscard]] std::unique_ptr<icu::TimeZone> makeTimeZone(std::string_view id) {
  // Unknown ids fall back to UTC rather than ICU's "Etc/Unknown", so that
  // the fallback zone is the one the rest of the widget names.
  const std::string_view known = isKnownTimeZone(id) ? id : fallbackTimeZoneId;
  return std::unique_ptr<icu::TimeZone>(icu::TimeZone::createTimeZone(unicode(known)));
}

[[nodiscard]] icu::Locale makeLocale(const std::string& id) {
  return icu::Locale(id.c_str());
}

// A Gregorian calendar in the context's zone that resolves wall times the
// way the widget wants: the first of two repeated times, the first valid
// time after a skipped one. Null if ICU cannot make one.
[[nodiscard]] std::unique_ptr<icu::GregorianCalendar> makeCalendar(const CalendarContext& context) {
  UErrorCode status = U_ZERO_ERROR;
  auto calendar = std::make_unique<icu::GregorianCalendar>(*makeTimeZone(context.timeZoneId()),
                                                           makeLocale(context.localeId()), status);
  if (U_FAILURE(status)) return nullptr;
  calendar->setRepeatedWallTimeOption(UCAL_WALLTIME_FIRST);
  calendar->setSkippedWallTimeOption(UCAL_WALLTIME_NEXT_VALID);
  return calendar;
}

// The local calendar day of `instant`, or nothing if ICU fails.
[[nodiscard]] std::optional<year_month_day> localDay(const CalendarContext& context,
                                                     Instant instant) {
  const auto calendar = makeCalendar(context);
  if (!calendar) return std::nullopt;
  UErrorCode status = U_ZERO_ERROR;
  calendar->setTime(toUDate(instant), status);
  const int year = calendar->get(UCAL_EXTENDED_YEAR, status);
  const int month = calendar->get(UCAL_MONTH, status) + 1;
  const int day = calendar->get(UCAL_DATE, status);
  if (U_FAILURE(status)) return std::nullopt;
  return year_month_day{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                        std::chrono::day{static_cast<unsigned>(day)}};
}

[[nodiscard]] std::unique_ptr<icu::DateTimePatternGenerator> makePatternGenerator(
    const CalendarContext& context) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::DateTimePatternGenerator> generator(
      icu::DateTimePatternGenerator::createInstance(makeLocale(context.localeId()), status));
  if (U_FAILURE(status)) return nullptr;
  return generator;
}

// The locale's best pattern for `skeleton`; empty when there is none.
[[nodiscard]] icu::UnicodeString bestPattern(const CalendarContext& context,
                                             std::string_view skeleton) {
  const auto generator = makePatternGenerator(context);
  if (!generator) return {};
  UErrorCode status = U_ZERO_ERROR;
  icu::UnicodeString pattern = generator->getBestPattern(unicode(skeleton), status);
  if (U_FAILURE(status)) return {};
  return pattern;
}

// `instant` formatted with the locale's best pattern for `skeleton`, in the
// context's zone; empty if ICU fails.
[[nodiscard]] std::string format(const CalendarContext& context, std::string_view skeleton,
                                 Instant instant) {
  const icu::UnicodeString pattern = bestPattern(context, skeleton);
  if (pattern.isEmpty()) return {};
  UErrorCode status = U_ZERO_ERROR;
  icu::SimpleDateFormat formatter(pattern, makeLocale(context.localeId()), status);
  if (U_FAILURE(status)) return {};
  formatter.adoptTimeZone(makeTimeZone(context.timeZoneId()).release());
  icu::UnicodeString text;
  formatter.format(toUDate(instant), text);
  return utf8(text);
}

// Whether `pattern` holds the day-period field "a" outside quoted literal
// text (French "HH 'h'" quotes its letter h; "''" is a literal quote and
// toggles twice, which leaves the state as it was).
[[nodiscard]] bool hasDayPeriodField(const icu::UnicodeString& pattern) {
  bool quoted = false;
  for (int32_t i = 0; i < pattern.length(); ++i) {
    const char16_t unit = pattern.charAt(i);
    if (unit == u'\'') {
      quoted = !quoted;
    } else if (!quoted && unit == u'a') {
      return true;
    }
  }
  return false;
}

[[nodiscard]] std::string_view firstNonEmptyEnvironment(std::initializer_list<const char*> names) {
  for (const char* name : names) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return value;
  }
  return {};
}

// "Europe/Paris" from "/usr/share/zoneinfo/Europe/Paris" (also under the
// "posix/" and "right/" trees); other text unchanged.
[[nodiscard]] std::string zoneIdFromPath(std::string_view path) {
  constexpr std::string_view marker = "zoneinfo/";
  if (const auto at = path.rfind(marker); at != std::string_view::npos) {
    path.remove_prefix(at + marker.size());
  }
  for (const std::string_view tree : {"posix/", "right/"}) {
    if (path.starts_with(tree)) path.remove_prefix(tree.size());
  }
  return std::string(path);
}

[[nodiscard]] std::optional<std::string> localtimeLinkTarget() {
  std::error_code error;
  const auto target = std::filesystem::read_symlink("/etc/localtime", error);
  if (error || target.empty()) return std::nullopt;
  return zoneIdFromPath(target.string());
}

[[nodiscard]] std::string hostTimeZoneId() {
  if (auto linked = localtimeLinkTarget(); linked && isKnownTimeZone(*linked)) return *linked;
  const std::unique_ptr<icu::TimeZone> detected(icu::TimeZone::detectHostTimeZone());
  if (!detected) return std::string(fallbackTimeZoneId);
  icu::UnicodeString id;
  detected->getID(id);
  const std::string detectedId = utf8(id);
  return isKnownTimeZone(detectedId) ? detectedId : std::string(fallbackTimeZoneId);
}

}  // namespace

std::string userLocaleId(std::optional<std::string_view> requested) {
  std::string_view raw =
      requested ? *requested : firstNonEmptyEnvironment({"LC_ALL", "LC_TIME", "LANG"});
  // POSIX names carry a codeset and a modifier ICU does not want.
  raw = raw.substr(0, raw.find_first_of(".@"));
  if (raw.empty() || raw == "C" || raw == "POSIX") return std::string(fallbackLocaleId);
  std::string id(raw);
  std::replace(id.begin(), id.end(), '-', '_');  // BCP 47 "en-US" is ICU's "en_US"
  return id;
}

std::string userTimeZoneId(std::optional<std::string_view> requested) {
  if (requested) return zoneIdFromPath(*requested);
  std::string_view fromEnvironment = firstNonEmptyEnvironment({"TZ"});
  if (fromEnvironment.starts_with(':')) fromEnvironment.remove_prefix(1);
  if (!fromEnvironment.empty()) return zoneIdFromPath(fromEnvironment);
  return hostTimeZoneId();
}

bool isKnownTimeZone(std::string_view id) {
  if (id.empty()) return false;
  UErrorCode status = U_ZERO_ERROR;
  icu::UnicodeString canonical;
  UBool isSystemId = false;
  icu::TimeZone::getCanonicalID(unicode(id), canonical, isSystemId, status);
  return U_SUCCESS(status) && isSystemId;
}

CalendarContext::CalendarContext(std::string localeId, std::string timeZoneId)
    : localeId_(std::move(localeId)), timeZoneId_(std::move(timeZoneId)) {}

CalendarContext CalendarContext::fromEnvironment() {
  std::string zone = userTimeZoneId();
  if (!isKnownTimeZone(zone)) zone = fallbackTimeZoneId;
  return CalendarContext(userLocaleId(), std::move(zone));
}

std::optional<Instant> CalendarContext::nextDateMatching(Instant after, int weekday,
                                                         int hour) const {
  if (weekday < 1 || weekday > 7 || hour < 0 || hour > 23) return std::nullopt;
  const auto startDay = localDay(*this, after);
  const auto calendar = makeCalendar(*this);
  if (!startDay || !calendar) return std::nullopt;

  // Walk the local days forward from the day of `after`. Two weeks leave
  // room for a day that a zone skipped entirely (Samoa, December 2011).
  constexpr int searchedDays = 15;
  for (int offset = 0; offset < searchedDays; ++offset) {
    const year_month_day day{sys_days{*startDay} + days{offset}};
    if (static_cast<int>(std::chrono::weekday{sys_days{day}}.c_encoding()) + 1 != weekday) continue;
    calendar->clear();
    calendar->set(static_cast<int>(day.year()), static_cast<int>(unsigned{day.month()}) - 1,
                  static_cast<int>(unsigned{day.day()}), hour, 0, 0);
    UErrorCode status = U_ZERO_ERROR;
    const UDate candidate = calendar->getTime(status);
    if (U_FAILURE(status)) continue;
    if (fromUDate(candidate) > after) return fromUDate(candidate);
  }
  return std::nullopt;
}

HourMinute CalendarContext::hourMinute(Instant instant) const {
  const auto calendar = makeCalendar(*this);
  if (!calendar) return {};
  UErrorCode status = U_ZERO_ERROR;
  calendar->setTime(toUDate(instant), status);
  const int hour = calendar->get(UCAL_HOUR_OF_DAY, status);
  const int minute = calendar->get(UCAL_MINUTE, status);
  if (U_FAILURE(status)) return {};  // missing components count as 0
  return {hour, minute};
}

bool CalendarContext::isSameDay(Instant a, Instant b) const {
  return dayDifference(a, b) == 0;
}

int CalendarContext::dayDifference(Instant from, Instant to) const {
  const auto fromDay = localDay(*this, from);
  const auto toDay = localDay(*this, to);
  if (!fromDay || !toDay) {
    // Only reachable if ICU cannot make a calendar; whole UTC days are the
    // nearest honest answer.
    return static_cast<int>((floor<days>(to) - floor<days>(from)).count());
  }
  return static_cast<int>((sys_days{*toDay} - sys_days{*fromDay}).count());
}

bool CalendarContext::usesTwelveHourClock() const {
  return hasDayPeriodField(bestPattern(*this, "j"));
}

std::string CalendarContext::abbreviatedWeekday(Instant instant) const {
  return format(*this, "EEE", instant);
}

std::string CalendarContext::twelveHourTime(Instant instant) const {
  return format(*this, "hmma", instant);
}

}  // namespace kelpo
