#include "base/time/clock.h"

namespace kelpo {

Instant SystemClock::now() const {
  return std::chrono::time_point_cast<std::chrono::microseconds>(std::chrono::system_clock::now());
}

}  // namespace kelpo
