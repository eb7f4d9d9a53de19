#pragma once

#include <chrono>

namespace kelpo {

// An instant on the UTC time line. Microseconds keep any fractional seconds a
// writer puts into a date without loss.
using Instant = std::chrono::sys_time<std::chrono::microseconds>;

}  // namespace kelpo
