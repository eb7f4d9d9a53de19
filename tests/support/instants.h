#pragma once

#include <chrono>

#include "base/time/instant.h"

namespace kelpo::testing_support {

// An instant given as a UTC calendar date and wall time.
[[nodiscard]] inline Instant utc(int y, unsigned m, unsigned d, int hour = 0, int minute = 0,
                                 int second = 0, long micros = 0) {
  using namespace std::chrono;
  return Instant{sys_days{year{y} / month{m} / day{d}} + hours{hour} + minutes{minute} +
                 seconds{second} + microseconds{micros}};
}

}  // namespace kelpo::testing_support
