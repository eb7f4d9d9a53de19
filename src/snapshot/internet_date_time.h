#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/time/instant.h"

namespace kelpo {

// Reads an internet date-time, "YYYY-MM-DDTHH:MM:SS" with optional fractional
// seconds (any number of digits, kept to the microsecond, further digits
// dropped) and a zone: "Z", "z", "+HH:MM", "-HH:MM", "+HHMM" or "-HHMM".
// Every field is range-checked against the calendar (leap years included);
// seconds go up to 59, so a leap second is refused. The instant, once moved to
// UTC, must lie within the years 0000 to 9999 so that it can be written back.
// Nothing for any other text.
[[nodiscard]] std::optional<Instant> parseInstant(std::string_view text);

// The first and the last instant an internet date-time can hold: four-digit
// years, to the microsecond.
inline constexpr Instant earliestWritableInstant{
    std::chrono::sys_days(std::chrono::year(0) / 1 / 1)};
inline constexpr Instant latestWritableInstant{
    std::chrono::sys_days(std::chrono::year(10000) / 1 / 1) - std::chrono::microseconds(1)};

// `instant` pinned into the writable range, so that whatever is computed from
// a late "now" can still be written and read back.
[[nodiscard]] Instant clampToWritableRange(Instant instant);

// Writes an instant in UTC as "2025-03-10T08:00:00Z"; fractional seconds
// appear only when the instant has them, without trailing zeros. An instant
// outside the writable range is written as the nearer end of it, so that
// parseInstant reads back everything this writes.
[[nodiscard]] std::string formatInstant(Instant instant);

}  // namespace kelpo
