#pragma once

#include "base/time/instant.h"

namespace kelpo {

// Where "now" comes from. The widget reads the system clock; tests and the
// command's --now option set a fixed one, so any answer can be reproduced.
class Clock {
 public:
  virtual ~Clock() = default;
  [[nodiscard]] virtual Instant now() const = 0;
};

class SystemClock final : public Clock {
 public:
  [[nodiscard]] Instant now() const override;
};

// A clock that stands still until moved.
class FixedClock final : public Clock {
 public:
  explicit FixedClock(Instant instant) : instant_(instant) {}
  [[nodiscard]] Instant now() const override { return instant_; }
  void set(Instant instant) { instant_ = instant; }

 private:
  Instant instant_;
};

}  // namespace kelpo
