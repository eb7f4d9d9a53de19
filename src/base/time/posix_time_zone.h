#pragma once

#include <optional>
#include <string_view>

namespace kelpo {

// A zone written as a POSIX TZ rule, the form the C library reads from TZ
// when it names no zone file: "UTC+5", "<+0330>-3:30",
// "CET-1CEST,M3.5.0,M10.5.0/3". Offsets here are east of UTC, the opposite of
// how the rule spells them.
struct PosixTimeZone {
  // A change of clock on day `weekday` (0 = Sunday) of week `week` (1...4,
  // 5 = the last) of `month` (1...12), at `secondsIntoDay` of the local time
  // in force before the change.
  struct Change {
    int month = 0;
    int week = 0;
    int weekday = 0;
    int secondsIntoDay = 2 * 3600;
    friend bool operator==(const Change&, const Change&) = default;
  };
  struct Summer {
    int utcOffsetSeconds = 0;
    Change start;
    Change end;
    friend bool operator==(const Summer&, const Summer&) = default;
  };

  int utcOffsetSeconds = 0;
  std::optional<Summer> summer;  // nothing for a zone with no daylight saving

  friend bool operator==(const PosixTimeZone&, const PosixTimeZone&) = default;
};

// The rule in `text`, or nothing when it is not one. Day-of-year rules ("Jn"
// and "n") are not read: their zones count as unknown.
[[nodiscard]] std::optional<PosixTimeZone> parsePosixTimeZone(std::string_view text);

}  // namespace kelpo
