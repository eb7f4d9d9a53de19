#pragma once

// The reload deadline: an absolute instant on the wall clock. It fires at
// that instant, or at once when the instant has already passed (after a
// suspend, or when the clock is set forward past it).

#include <gio/gio.h>

#include <functional>
#include <optional>

#include "base/glib/glib_handles.h"
#include "base/time/instant.h"

namespace kelpo::desktop {

class WallClockDeadline {
 public:
  // `fired` runs on the main loop, once per armed instant.
  explicit WallClockDeadline(std::function<void()> fired);
  WallClockDeadline(const WallClockDeadline&) = delete;
  WallClockDeadline& operator=(const WallClockDeadline&) = delete;
  ~WallClockDeadline();

  // Replaces any earlier instant. False when the system has no timer to give.
  bool arm(Instant at);
  void disarm();
  [[nodiscard]] std::optional<Instant> armedAt() const { return armedAt_; }

 private:
  static gboolean onReadable(gint fd, GIOCondition condition, gpointer self);
  void handleExpiry();
  bool setTimer(Instant at);

  std::function<void()> fired_;
  int fd_ = -1;
  SourceHandle watch_;
  std::optional<Instant> armedAt_;
};

}  // namespace kelpo::desktop
