#include "base/time/calendar.h"

#include <unicode/dtptngen.h>
#include <unicode/locid.h>
#include <unicode/simpletz.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/ures.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>
#include <utility>

#include "base/time/posix_time_zone.h"

namespace kelpo {
namespace {

using namespace std::chrono;

// ICU dates are milliseconds since the epoch as a double. Sub-millisecond
// parts are dropped towards the past, which keeps "strictly after" honest.
[[nodiscard]] UDate toUDate(Instant instant) {
  return static_cast<UDate>(floor<milliseconds>(instant).time_since_epoch().count());
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

// ICU's day-of-week-in-month for a POSIX week: 5 means the last.
[[nodiscard]] int8_t weekInMonth(int week) {
  return static_cast<int8_t>(week == 5 ? -1 : week);
}

// A zone that follows a POSIX rule; null when ICU refuses the rule (a change
// time outside the day, for one).
[[nodiscard]] std::unique_ptr<icu::TimeZone> zoneFollowing(const PosixTimeZone& rule,
                                                           std::string_view id) {
  constexpr int32_t millisecondsPerSecond = 1000;
  const int32_t rawOffset = rule.utcOffsetSeconds * millisecondsPerSecond;
  if (!rule.summer) return std::make_unique<icu::SimpleTimeZone>(rawOffset, unicode(id));
  const PosixTimeZone::Summer& summer = *rule.summer;
  const auto month = [](const PosixTimeZone::Change& change) {
    return static_cast<int8_t>(change.month - 1);
  };
  const auto weekday = [](const PosixTimeZone::Change& change) {
    return static_cast<int8_t>(change.weekday + 1);  // ICU counts Sunday as 1
  };
  UErrorCode status = U_ZERO_ERROR;
  auto zone = std::make_unique<icu::SimpleTimeZone>(
      rawOffset, unicode(id), month(summer.start), weekInMonth(summer.start.week),
      weekday(summer.start), summer.start.secondsIntoDay * millisecondsPerSecond,
      icu::SimpleTimeZone::WALL_TIME, month(summer.end), weekInMonth(summer.end.week),
      weekday(summer.end), summer.end.secondsIntoDay * millisecondsPerSecond,
      icu::SimpleTimeZone::WALL_TIME,
      (summer.utcOffsetSeconds - rule.utcOffsetSeconds) * millisecondsPerSecond, status);
  if (U_FAILURE(status)) return nullptr;
  return zone;
}

// The zone `id` names: an IANA id, a custom offset id such as "GMT+05:30"
// (both as ICU reads them) or a POSIX rule as the C library reads TZ. Null
// when it names none of these.
[[nodiscard]] std::unique_ptr<icu::TimeZone> usableTimeZone(std::string_view id) {
  if (id.empty()) return nullptr;
  std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(unicode(id)));
  if (zone && *zone != icu::TimeZone::getUnknown()) return zone;
  if (const auto rule = parsePosixTimeZone(id)) return zoneFollowing(*rule, id);
  return nullptr;
}

[[nodiscard]] std::unique_ptr<icu::TimeZone> makeTimeZone(std::string_view id) {
  // Unknown ids fall back to UTC rather than ICU's "Etc/Unknown", so that
  // the fallback zone is the one the rest of the widget names.
  if (auto zone = usableTimeZone(id)) return zone;
  return std::unique_ptr<icu::TimeZone>(icu::TimeZone::createTimeZone(unicode(fallbackTimeZoneId)));
}

[[nodiscard]] icu::Locale makeLocale(const std::string& id) {
  return icu::Locale(id.c_str());
}

// Date-pattern generators are costly to make (each loads the locale's
// date data) and the widget asks for the same few patterns on every draw:
// the answers are kept for the process, the generator only while it answers
// (held, it would keep some 100 kB of a long-running desktop host). A
// generator is not safe to share between threads, so every use holds the
// lock.
class PatternCache {
 public:
  // The locale's best pattern for `skeleton`, or nothing when ICU makes no
  // generator for the locale (an id too long or malformed to name one).
  [[nodiscard]] std::optional<icu::UnicodeString> bestPattern(const std::string& localeId,
                                                              std::string_view skeleton) {
    const std::lock_guard lock(mutex_);
    const auto key = std::make_pair(localeId, std::string(skeleton));
    if (const auto found = patterns_.find(key); found != patterns_.end()) return found->second;
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<icu::DateTimePatternGenerator> generator(
        icu::DateTimePatternGenerator::createInstance(makeLocale(localeId), status));
    if (U_FAILURE(status) || !generator) {
      patterns_.emplace(key, std::nullopt);
      return std::nullopt;
    }
    icu::UnicodeString pattern = generator->getBestPattern(unicode(skeleton), status);
    if (U_FAILURE(status)) pattern.remove();
    patterns_.emplace(key, pattern);
    return pattern;
  }

 private:
  std::mutex mutex_;
  std::map<std::pair<std::string, std::string>, std::optional<icu::UnicodeString>> patterns_;
};

[[nodiscard]] PatternCache& patternCache() {
  static PatternCache cache;
  return cache;
}

// Whether ICU can format dates for `id`: a locale it can parse (not
// "bogus") with a language.
[[nodiscard]] bool isUsableLocale(const std::string& id) {
  const icu::Locale locale = makeLocale(id);
  return !locale.isBogus() && *locale.getLanguage() != '\0';
}

// Wall-clock time in a zone: milliseconds counted as if the zone's clocks
// were UTC's.
using WallTime = local_time<milliseconds>;

// The zone's whole offset from UTC (standard and daylight parts) at the
// instant `date`; nothing if ICU fails.
[[nodiscard]] std::optional<milliseconds> utcOffset(const icu::TimeZone& zone, UDate date) {
  int32_t raw = 0;
  int32_t daylight = 0;
  UErrorCode status = U_ZERO_ERROR;
  zone.getOffset(date, false, raw, daylight, status);
  if (U_FAILURE(status)) return std::nullopt;
  return milliseconds{std::int64_t{raw} + daylight};
}

[[nodiscard]] UDate toUDate(milliseconds sinceEpoch) {
  return static_cast<UDate>(sinceEpoch.count());
}

// What the zone's clocks show at `instant`.
[[nodiscard]] std::optional<WallTime> wallTime(const icu::TimeZone& zone, Instant instant) {
  const UDate date = toUDate(instant);
  const auto offset = utcOffset(zone, date);
  if (!offset) return std::nullopt;
  return WallTime{milliseconds{static_cast<std::int64_t>(date)} + *offset};
}

// The instant whose wall time is `wall`: of a time that occurs twice (clocks
// going back), the first; of a time skipped (clocks going forward), the
// first instant after the gap. Local times read with the offsets a day
// either side, the only two in play while a zone changes at most once a day.
[[nodiscard]] std::optional<Instant> instantOf(const icu::TimeZone& zone, WallTime wall) {
  const milliseconds local = wall.time_since_epoch();
  const auto before = utcOffset(zone, toUDate(local - days{1}));
  const auto after = utcOffset(zone, toUDate(local + days{1}));
  if (!before || !after) return std::nullopt;
  const auto wallAt = [&](milliseconds utc) {
    return wallTime(zone, Instant{utc}).value_or(WallTime::min());
  };
  std::optional<milliseconds> first;
  for (const milliseconds offset : {*before, *after}) {
    const milliseconds candidate = local - offset;
    if (wallAt(candidate) == wall && (!first || candidate < *first)) first = candidate;
  }
  if (first) return Instant{*first};
  if (*after <= *before) return std::nullopt;  // no gap, yet no reading
  // In a gap: the change is the earliest instant whose wall time has reached
  // `wall`, between the two readings.
  milliseconds low = local - *after;
  milliseconds high = local - *before;
  while (low < high) {
    const milliseconds middle = low + (high - low) / 2;
    if (wallAt(middle) >= wall) {
      high = middle;
    } else {
      low = middle + milliseconds{1};
    }
  }
  return Instant{high};
}

// The local calendar day of `instant`, or nothing if ICU fails.
[[nodiscard]] std::optional<year_month_day> localDay(const icu::TimeZone& zone, Instant instant) {
  const auto wall = wallTime(zone, instant);
  if (!wall) return std::nullopt;
  return year_month_day{floor<days>(*wall)};
}

// The locale's best pattern for `skeleton`; empty when there is none.
[[nodiscard]] icu::UnicodeString bestPattern(const CalendarContext& context,
                                             std::string_view skeleton) {
  return patternCache().bestPattern(context.localeId(), skeleton).value_or(icu::UnicodeString());
}

// Dates as they were formatted. A live widget builds its view again on
// every frame of an animation and each build asks for the same few dates:
// making a date formatter cost more than drawing the frame. A process that
// walks through many dates (a timeline, a gallery) starts the list over.
class FormattedDates {
 public:
  template <typename Format>
  [[nodiscard]] std::string find(const CalendarContext& context, std::string_view skeleton,
                                 UDate date, Format format) {
    const std::lock_guard lock(mutex_);
    Key key{context.localeId(), context.timeZoneId(), std::string(skeleton), date};
    if (const auto found = texts_.find(key); found != texts_.end()) return found->second;
    std::string text = format();
    if (texts_.size() >= capacity) texts_.clear();
    texts_.emplace(std::move(key), text);
    return text;
  }

 private:
  using Key = std::tuple<std::string, std::string, std::string, UDate>;
  static constexpr std::size_t capacity = 64;
  std::mutex mutex_;
  std::map<Key, std::string> texts_;
};

[[nodiscard]] FormattedDates& formattedDates() {
  static FormattedDates dates;
  return dates;
}

// `instant` formatted with the locale's best pattern for `skeleton`, in the
// context's zone; empty if ICU fails.
[[nodiscard]] std::string formatAnew(const CalendarContext& context, std::string_view skeleton,
                                     Instant instant) {
  const icu::UnicodeString pattern = bestPattern(context, skeleton);
  if (pattern.isEmpty()) return {};
  UErrorCode status = U_ZERO_ERROR;
  icu::SimpleDateFormat formatter(pattern, makeLocale(context.localeId()), status);
  std::unique_ptr<icu::TimeZone> zone = makeTimeZone(context.timeZoneId());
  if (U_FAILURE(status) || !zone) return {};
  formatter.adoptTimeZone(zone.release());
  icu::UnicodeString text;
  formatter.format(toUDate(instant), text);
  return utf8(text);
}

[[nodiscard]] std::string format(const CalendarContext& context, std::string_view skeleton,
                                 Instant instant) {
  return formattedDates().find(context, skeleton, toUDate(instant),
                               [&] { return formatAnew(context, skeleton, instant); });
}

struct BundleCloser {
  void operator()(UResourceBundle* bundle) const { ures_close(bundle); }
};
using Bundle = std::unique_ptr<UResourceBundle, BundleCloser>;

// The entry `key` of `parent`; null when there is none.
[[nodiscard]] Bundle entryOf(const Bundle& parent, const char* key) {
  if (!parent) return nullptr;
  UErrorCode status = U_ZERO_ERROR;
  Bundle entry(ures_getByKey(parent.get(), key, nullptr, &status));
  return U_SUCCESS(status) ? std::move(entry) : nullptr;
}

// The hour cycle the locale prefers, from ICU's hour-cycle data as skeleton
// "j" resolves it: by language and region ("ca_ES"), else by region ("US"
// gives h, "FR" gives H), a missing region filled in from the language's
// likely one, else the world's. One of h, H, K, k; nothing without data.
// Read straight from the data: a pattern generator would load every date
// pattern of the locale, over a megabyte, for this one letter.
[[nodiscard]] std::optional<char16_t> preferredHourCycle(const icu::Locale& requested) {
  icu::Locale locale = requested;
  if (*locale.getCountry() == '\0') {
    UErrorCode status = U_ZERO_ERROR;
    locale.addLikelySubtags(status);
  }
  UErrorCode status = U_ZERO_ERROR;
  const Bundle supplemental(ures_openDirect(nullptr, "supplementalData", &status));
  if (U_FAILURE(status)) return std::nullopt;
  const Bundle timeData = entryOf(supplemental, "timeData");
  const std::string country = *locale.getCountry() == '\0' ? "001" : locale.getCountry();
  for (const std::string& key :
       {std::string(locale.getLanguage()) + "_" + country, country, std::string("001")}) {
    const Bundle entry = entryOf(timeData, key.c_str());
    if (!entry) continue;
    UErrorCode found = U_ZERO_ERROR;
    int32_t length = 0;
    const char16_t* preferred = ures_getStringByKey(entry.get(), "preferred", &length, &found);
    if (U_SUCCESS(found) && length > 0) return preferred[0];
  }
  return std::nullopt;
}

// The locale's hour cycle, read once per locale: every frame of an
// animation asks again.
[[nodiscard]] std::optional<char16_t> hourCycleOf(const std::string& localeId) {
  static std::mutex mutex;
  static std::map<std::string, std::optional<char16_t>> cycles;
  const std::lock_guard lock(mutex);
  if (const auto found = cycles.find(localeId); found != cycles.end()) return found->second;
  const std::optional<char16_t> cycle = preferredHourCycle(makeLocale(localeId));
  cycles.emplace(localeId, cycle);
  return cycle;
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

// The zone id in TZ-style text: a leading ':' dropped, a path to a zone file
// (through any links, so ":/etc/localtime" gives the zone it links to)
// reduced to the zone's id.
[[nodiscard]] std::string zoneIdFromText(std::string_view text) {
  if (text.starts_with(':')) text.remove_prefix(1);
  if (!text.starts_with('/')) return zoneIdFromPath(text);
  std::error_code error;
  const auto resolved = std::filesystem::canonical(std::filesystem::path(text), error);
  return zoneIdFromPath(error ? text : resolved.string());
}

[[nodiscard]] std::optional<std::string> localtimeLinkTarget() {
  std::error_code error;
  const auto target = std::filesystem::read_symlink("/etc/localtime", error);
  if (error || target.empty()) return std::nullopt;
  return zoneIdFromPath(target.string());
}

[[nodiscard]] std::string hostTimeZoneId() {
  if (auto linked = localtimeLinkTarget(); linked && isUsableTimeZone(*linked)) return *linked;
  const std::unique_ptr<icu::TimeZone> detected(icu::TimeZone::detectHostTimeZone());
  if (!detected) return std::string(fallbackTimeZoneId);
  icu::UnicodeString id;
  detected->getID(id);
  const std::string detectedId = utf8(id);
  return isUsableTimeZone(detectedId) ? detectedId : std::string(fallbackTimeZoneId);
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
  if (requested) return zoneIdFromText(*requested);
  // TZ is whatever the C library accepts; a value no zone can be made of
  // leaves the widget on the system's zone rather than failing.
  if (const std::string_view tz = firstNonEmptyEnvironment({"TZ"}); !tz.empty()) {
    if (std::string id = zoneIdFromText(tz); isUsableTimeZone(id)) return id;
  }
  return hostTimeZoneId();
}

bool isUsableTimeZone(std::string_view id) {
  return usableTimeZone(id) != nullptr;
}

CalendarContext::CalendarContext(std::string localeId, std::string timeZoneId)
    : localeId_(isUsableLocale(localeId) ? std::move(localeId) : std::string(fallbackLocaleId)),
      timeZoneId_(std::move(timeZoneId)) {}

CalendarContext CalendarContext::fromEnvironment() {
  return CalendarContext(userLocaleId(), userTimeZoneId());
}

std::optional<Instant> CalendarContext::nextDateMatching(Instant after, int weekday,
                                                         int hour) const {
  if (weekday < 1 || weekday > 7 || hour < 0 || hour > 23) return std::nullopt;
  const std::unique_ptr<icu::TimeZone> zone = makeTimeZone(timeZoneId_);
  const auto startDay = zone ? localDay(*zone, after) : std::nullopt;
  if (!startDay) return std::nullopt;

  // Walk the local days forward from the day of `after`. Two weeks leave
  // room for a day that a zone skipped entirely (Samoa, December 2011).
  constexpr int searchedDays = 15;
  for (int offset = 0; offset < searchedDays; ++offset) {
    const local_days day{(sys_days{*startDay} + days{offset}).time_since_epoch()};
    if (static_cast<int>(std::chrono::weekday{day}.c_encoding()) + 1 != weekday) continue;
    const auto candidate = instantOf(*zone, WallTime{day + hours{hour}});
    if (candidate && *candidate > after) return candidate;
  }
  return std::nullopt;
}

HourMinute CalendarContext::hourMinute(Instant instant) const {
  const std::unique_ptr<icu::TimeZone> zone = makeTimeZone(timeZoneId_);
  const auto wall = zone ? wallTime(*zone, instant) : std::nullopt;
  if (!wall) return {};  // missing components count as 0
  const hh_mm_ss sinceMidnight{*wall - floor<days>(*wall)};
  return {static_cast<int>(sinceMidnight.hours().count()),
          static_cast<int>(sinceMidnight.minutes().count())};
}

bool CalendarContext::isSameDay(Instant a, Instant b) const {
  return dayDifference(a, b) == 0;
}

int CalendarContext::dayDifference(Instant from, Instant to) const {
  const std::unique_ptr<icu::TimeZone> zone = makeTimeZone(timeZoneId_);
  const auto fromDay = zone ? localDay(*zone, from) : std::nullopt;
  const auto toDay = zone ? localDay(*zone, to) : std::nullopt;
  if (!fromDay || !toDay) {
    // Only reachable if ICU cannot read the zone; whole UTC days are the
    // nearest honest answer.
    return static_cast<int>((floor<days>(to) - floor<days>(from)).count());
  }
  return static_cast<int>((sys_days{*toDay} - sys_days{*fromDay}).count());
}

bool CalendarContext::usesTwelveHourClock() const {
  const std::optional<char16_t> cycle = hourCycleOf(localeId());
  return cycle == u'h' || cycle == u'K';
}

std::string CalendarContext::abbreviatedWeekday(Instant instant) const {
  return format(*this, "EEE", instant);
}

std::string CalendarContext::twelveHourTime(Instant instant) const {
  return format(*this, "hmma", instant);
}

}  // namespace kelpo
