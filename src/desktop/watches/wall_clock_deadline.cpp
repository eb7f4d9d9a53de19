#include "desktop/watches/wall_clock_deadline.h"

#include <glib-unix.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>

namespace kelpo::desktop {
namespace {

[[nodiscard]] timespec timespecOf(Instant at) {
  using namespace std::chrono;
  const auto sinceEpoch = at.time_since_epoch();
  const auto whole = duration_cast<seconds>(sinceEpoch);
  auto micros = duration_cast<microseconds>(sinceEpoch - whole).count();
  auto secs = whole.count();
  if (micros < 0) {
    micros += 1'000'000;
    secs -= 1;
  }
  // An instant at or before the epoch would read as "disarm": the earliest
  // armed value is one nanosecond after it, long past in any case.
  if (secs <= 0 && micros <= 0) return timespec{0, 1};
  return timespec{static_cast<time_t>(secs), static_cast<long>(micros * 1000)};
}

}  // namespace

WallClockDeadline::WallClockDeadline(std::function<void()> fired)
    : fired_(std::move(fired)), fd_(timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC)) {
  if (fd_ >= 0) {
    watch_ = SourceHandle(g_unix_fd_add(fd_, G_IO_IN, &WallClockDeadline::onReadable, this));
  }
}

WallClockDeadline::~WallClockDeadline() {
  watch_.reset();
  if (fd_ >= 0) close(fd_);
}

bool WallClockDeadline::setTimer(Instant at) {
  // Cancel-on-set: a change of the wall clock wakes the reader with
  // ECANCELED, so the instant is looked at again against the new time.
  const itimerspec value{timespec{0, 0}, timespecOf(at)};
  return timerfd_settime(fd_, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &value, nullptr) == 0;
}

bool WallClockDeadline::arm(Instant at) {
  if (fd_ < 0 || !setTimer(at)) return false;
  armedAt_ = at;
  return true;
}

void WallClockDeadline::disarm() {
  armedAt_.reset();
  if (fd_ < 0) return;
  const itimerspec none{};
  timerfd_settime(fd_, 0, &none, nullptr);
}

gboolean WallClockDeadline::onReadable(gint, GIOCondition, gpointer self) {
  static_cast<WallClockDeadline*>(self)->handleExpiry();
  return G_SOURCE_CONTINUE;
}

void WallClockDeadline::handleExpiry() {
  std::uint64_t expirations = 0;
  const ssize_t got = read(fd_, &expirations, sizeof expirations);
  if (!armedAt_) return;
  if (got < 0 && errno == ECANCELED) {
    // The clock was set. Arming again with an instant now in the past fires
    // at once; otherwise the timer waits for the instant on the new clock.
    setTimer(*armedAt_);
    return;
  }
  if (got != static_cast<ssize_t>(sizeof expirations)) return;  // spurious wake-up
  armedAt_.reset();
  fired_();
}

}  // namespace kelpo::desktop
