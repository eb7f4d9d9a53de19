#include "command/common_options.h"

#include <optional>
#include <string_view>

#include "command/command_error.h"
#include "snapshot/internet_date_time.h"
#include "widget/widget_family.h"

namespace kelpo::app {
namespace {

[[nodiscard]] std::optional<std::string_view> given(const std::string& value) {
  if (value.empty()) return std::nullopt;
  return value;
}

[[nodiscard]] std::unique_ptr<Clock> resolveClock(const std::string& now) {
  if (now.empty()) return std::make_unique<SystemClock>();
  const auto instant = parseInstant(now);
  if (!instant) {
    throw CommandError("--now: \"" + now +
                       "\" is not an ISO 8601 date-time (such as 2026-03-09T08:00:00Z)");
  }
  return std::make_unique<FixedClock>(*instant);
}

// An explicit zone must be usable; the environment's zone always is (an
// unusable TZ gives the system's zone, as it does for the widget).
[[nodiscard]] std::string resolveTimeZone(const std::string& requested) {
  if (requested.empty()) return userTimeZoneId();
  std::string zone = userTimeZoneId(requested);
  if (!isUsableTimeZone(zone)) {
    throw CommandError("--time-zone: unknown time zone \"" + zone +
                       "\" (expected an IANA zone such as Europe/Paris, an offset such as "
                       "GMT+05:30 or a POSIX rule such as UTC+5)");
  }
  return zone;
}

}  // namespace

void addCommonOptions(CLI::App& verb, CommonOptions& options) {
  verb.add_option("--now", options.now, "The current time, ISO 8601 (default: the system clock)")
      ->type_name("DATE");
  verb.add_option("--time-zone", options.timeZone,
                  "IANA zone, GMT offset or POSIX rule (default: TZ, then the system's zone)")
      ->type_name("ZONE");
  verb.add_option("--locale", options.locale,
                  "Locale for dates and clock style (default: LC_ALL, LC_TIME, LANG; "
                  "French for C/POSIX)")
      ->type_name("LOCALE");
}

CommandContext resolveContext(const CommonOptions& options) {
  auto clock = resolveClock(options.now);
  CalendarContext calendar(userLocaleId(given(options.locale)), resolveTimeZone(options.timeZone));
  return CommandContext{std::move(clock), std::move(calendar)};
}

std::vector<std::string> widgetSizeNames() {
  std::vector<std::string> names;
  for (const WidgetSize& size : widgetSizes) names.emplace_back(size.name);
  return names;
}

}  // namespace kelpo::app
