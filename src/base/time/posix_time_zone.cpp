#include "base/time/posix_time_zone.h"

#include <cctype>

namespace kelpo {
namespace {

// A reader that consumes exactly what each step expects, or fails.
class RuleCursor {
 public:
  explicit RuleCursor(std::string_view text) : text_(text) {}

  [[nodiscard]] bool atEnd() const { return text_.empty(); }
  [[nodiscard]] bool consume(char expected) {
    if (text_.empty() || text_.front() != expected) return false;
    text_.remove_prefix(1);
    return true;
  }

  // A zone abbreviation: three or more letters, or "<...>" holding three or
  // more letters, digits, '+' or '-'. Only its presence matters.
  [[nodiscard]] bool name() {
    std::size_t length = 0;
    if (consume('<')) {
      while (length < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[length])) ||
                                       text_[length] == '+' || text_[length] == '-')) {
        ++length;
      }
      if (length < 3 || length >= text_.size() || text_[length] != '>') return false;
      text_.remove_prefix(length + 1);
      return true;
    }
    while (length < text_.size() && std::isalpha(static_cast<unsigned char>(text_[length]))) {
      ++length;
    }
    text_.remove_prefix(length);
    return length >= 3;
  }

  // One to `maxDigits` decimal digits, at most `largest`.
  [[nodiscard]] std::optional<int> number(int largest, std::size_t maxDigits = 2) {
    int value = 0;
    std::size_t count = 0;
    while (count < maxDigits && count < text_.size() &&
           std::isdigit(static_cast<unsigned char>(text_[count]))) {
      value = value * 10 + (text_[count] - '0');
      ++count;
    }
    if (count == 0 || value > largest) return std::nullopt;
    text_.remove_prefix(count);
    return value;
  }

  // [+-]hh[:mm[:ss]] in seconds, the sign kept as written.
  [[nodiscard]] std::optional<int> duration(int largestHours) {
    const int sign = consume('-') ? -1 : ((void)consume('+'), 1);
    const auto hours = number(largestHours, 3);
    if (!hours) return std::nullopt;
    int seconds = *hours * 3600;
    if (consume(':')) {
      const auto minutes = number(59);
      if (!minutes) return std::nullopt;
      seconds += *minutes * 60;
      if (consume(':')) {
        const auto rest = number(59);
        if (!rest) return std::nullopt;
        seconds += *rest;
      }
    }
    return sign * seconds;
  }

  // Mm.w.d[/time]
  [[nodiscard]] std::optional<PosixTimeZone::Change> change() {
    if (!consume('M')) return std::nullopt;
    PosixTimeZone::Change change;
    const auto month = number(12);
    if (!month || *month < 1 || !consume('.')) return std::nullopt;
    const auto week = number(5, 1);
    if (!week || *week < 1 || !consume('.')) return std::nullopt;
    const auto weekday = number(6, 1);
    if (!weekday) return std::nullopt;
    change.month = *month;
    change.week = *week;
    change.weekday = *weekday;
    if (consume('/')) {
      const auto time = duration(167);
      if (!time) return std::nullopt;
      change.secondsIntoDay = *time;
    }
    return change;
  }

 private:
  std::string_view text_;
};

// The rules the C library applies to a summer name given with no rules of
// its own: from the second Sunday of March to the first Sunday of November.
constexpr PosixTimeZone::Change defaultStart{3, 2, 0, 2 * 3600};
constexpr PosixTimeZone::Change defaultEnd{11, 1, 0, 2 * 3600};

}  // namespace

std::optional<PosixTimeZone> parsePosixTimeZone(std::string_view text) {
  RuleCursor cursor(text);
  if (!cursor.name()) return std::nullopt;
  const auto standard = cursor.duration(24);
  if (!standard) return std::nullopt;
  PosixTimeZone zone{.utcOffsetSeconds = -*standard, .summer = std::nullopt};
  if (cursor.atEnd()) return zone;

  if (!cursor.name()) return std::nullopt;
  PosixTimeZone::Summer summer{zone.utcOffsetSeconds + 3600, defaultStart, defaultEnd};
  if (!cursor.atEnd() && !cursor.consume(',')) {
    const auto offset = cursor.duration(24);
    if (!offset) return std::nullopt;
    summer.utcOffsetSeconds = -*offset;
    if (!cursor.atEnd() && !cursor.consume(',')) return std::nullopt;
  }
  if (!cursor.atEnd()) {
    const auto start = cursor.change();
    if (!start || !cursor.consume(',')) return std::nullopt;
    const auto end = cursor.change();
    if (!end || !cursor.atEnd()) return std::nullopt;
    summer.start = *start;
    summer.end = *end;
  }
  zone.summer = summer;
  return zone;
}

}  // namespace kelpo
