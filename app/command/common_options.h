#pragma once

#include <CLI/CLI.hpp>
#include <memory>
#include <string>
#include <vector>

#include "base/time/calendar.h"
#include "base/time/clock.h"

namespace kelpo::app {

// The options every verb takes, so that any answer can be reproduced: the
// current time, the time zone and the locale. Empty means "not given".
struct CommonOptions {
  std::string now;       // --now, an ISO 8601 date-time
  std::string timeZone;  // --time-zone, a zone id (see isUsableTimeZone)
  std::string locale;    // --locale, a locale id ("fr_FR", "en-US")
};

void addCommonOptions(CLI::App& verb, CommonOptions& options);

// The names of the widget's sizes, in the order offered, for options that
// choose one.
[[nodiscard]] std::vector<std::string> widgetSizeNames();

// The clock and calendar a verb works with.
struct CommandContext {
  std::unique_ptr<Clock> clock;
  CalendarContext calendar;
};

// The system clock unless --now is given; the zone and locale from the
// options, else from the environment. Throws CommandError for a date that is
// not ISO 8601 or a --time-zone no zone can be made of; an unusable TZ
// silently gives the system's zone.
[[nodiscard]] CommandContext resolveContext(const CommonOptions& options);

}  // namespace kelpo::app
