#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/instant.h"

namespace kelpo {

// Reads an internet date-time, "YYYY-MM-DDTHH:MM:SS" with optional fractional
// seconds (any number of digits, kept to the microsecond, further digits
// dropped) and a zone: "Z", "z", "+HH:MM", "-HH:MM", "+HHMM" or "-HHMM".
// Every field is range-checked against the calendar (leap years included);
// seconds go up to 59, so a leap second is refused. The instant, once moved to
// UTC, must lie within the years 0000 to 9999 so that it can be written back.
// Nothing for any other text.
[[nodiscard]] std::optional<Instant> parseInstant(std::string_view text);

// Writes an instant in UTC as "2025-03-10T08:00:00Z"; fractional seconds
// appear only when the instant has them, without trailing zeros.
[[nodiscard]] std::string formatInstant(Instant instant);

}  // namespace kelpo
