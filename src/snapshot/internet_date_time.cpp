#include "snapshot/internet_date_time.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>

namespace kelpo {
namespace {

using std::chrono::days;
using std::chrono::hours;
using std::chrono::microseconds;
using std::chrono::minutes;
using std::chrono::seconds;

// A left-to-right reader over the date-time text; every read either consumes
// exactly what it expects or reports failure.
class Cursor {
 public:
  explicit Cursor(std::string_view text) : text_(text) {}

  [[nodiscard]] bool atEnd() const { return position_ == text_.size(); }
  [[nodiscard]] std::optional<char> peek() const {
    if (atEnd()) return std::nullopt;
    return text_[position_];
  }
  void advance() { ++position_; }

  [[nodiscard]] bool consume(char expected) {
    if (peek() != expected) return false;
    advance();
    return true;
  }

  // Exactly `count` decimal digits.
  [[nodiscard]] std::optional<int> digits(std::size_t count) {
    if (text_.size() - position_ < count) return std::nullopt;
    int value = 0;
    for (std::size_t index = 0; index < count; ++index) {
      const char c = text_[position_ + index];
      if (c < '0' || c > '9') return std::nullopt;
      value = value * 10 + (c - '0');
    }
    position_ += count;
    return value;
  }

  // One or more digits after the decimal point, as microseconds; digits past
  // the sixth are checked but dropped.
  [[nodiscard]] std::optional<microseconds> fraction() {
    std::int64_t micros = 0;
    std::size_t count = 0;
    while (const auto c = peek()) {
      if (*c < '0' || *c > '9') break;
      if (count < 6) micros = micros * 10 + (*c - '0');
      ++count;
      advance();
    }
    if (count == 0) return std::nullopt;
    for (std::size_t padding = count; padding < 6; ++padding) micros *= 10;
    return microseconds(micros);
  }

 private:
  std::string_view text_;
  std::size_t position_ = 0;
};

// The zone designator: the offset of local time from UTC.
[[nodiscard]] std::optional<minutes> readZone(Cursor& cursor) {
  if (cursor.consume('Z') || cursor.consume('z')) return minutes(0);
  int sign = 0;
  if (cursor.consume('+')) {
    sign = 1;
  } else if (cursor.consume('-')) {
    sign = -1;
  } else {
    return std::nullopt;
  }
  const auto offsetHours = cursor.digits(2);
  if (!offsetHours) return std::nullopt;
  (void)cursor.consume(':');  // both "+01:00" and "+0100" are accepted
  const auto offsetMinutes = cursor.digits(2);
  if (!offsetMinutes) return std::nullopt;
  if (*offsetHours > 23 || *offsetMinutes > 59) return std::nullopt;
  return minutes(sign * (*offsetHours * 60 + *offsetMinutes));
}

[[nodiscard]] bool isWritableRange(Instant instant) {
  return instant >= earliestWritableInstant && instant <= latestWritableInstant;
}

void appendPadded(std::string& out, std::int64_t value, int width) {
  char buffer[24];
  const bool negative = value < 0;
  const auto magnitude = negative ? -value : value;
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, magnitude);
  (void)error;
  const auto length = static_cast<int>(end - buffer);
  if (negative) out.push_back('-');
  for (int padding = length; padding < width; ++padding) out.push_back('0');
  out.append(buffer, end);
}

}  // namespace

std::optional<Instant> parseInstant(std::string_view text) {
  Cursor cursor(text);
  const auto yearValue = cursor.digits(4);
  if (!yearValue || !cursor.consume('-')) return std::nullopt;
  const auto monthValue = cursor.digits(2);
  if (!monthValue || !cursor.consume('-')) return std::nullopt;
  const auto dayValue = cursor.digits(2);
  if (!dayValue || !cursor.consume('T')) return std::nullopt;
  const auto hourValue = cursor.digits(2);
  if (!hourValue || !cursor.consume(':')) return std::nullopt;
  const auto minuteValue = cursor.digits(2);
  if (!minuteValue || !cursor.consume(':')) return std::nullopt;
  const auto secondValue = cursor.digits(2);
  if (!secondValue) return std::nullopt;
  microseconds fraction(0);
  if (cursor.consume('.')) {
    const auto digits = cursor.fraction();
    if (!digits) return std::nullopt;
    fraction = *digits;
  }
  const auto offset = readZone(cursor);
  if (!offset || !cursor.atEnd()) return std::nullopt;

  const std::chrono::year_month_day date{std::chrono::year(*yearValue),
                                         std::chrono::month(static_cast<unsigned>(*monthValue)),
                                         std::chrono::day(static_cast<unsigned>(*dayValue))};
  if (!date.ok() || *hourValue > 23 || *minuteValue > 59 || *secondValue > 59) {
    return std::nullopt;
  }
  const Instant instant = std::chrono::sys_days(date) + hours(*hourValue) + minutes(*minuteValue) +
                          seconds(*secondValue) + fraction - *offset;
  if (!isWritableRange(instant)) return std::nullopt;
  return instant;
}

Instant clampToWritableRange(Instant instant) {
  return std::clamp(instant, earliestWritableInstant, latestWritableInstant);
}

std::string formatInstant(Instant unclamped) {
  const Instant instant = clampToWritableRange(unclamped);
  const auto day = std::chrono::floor<days>(instant);
  const std::chrono::year_month_day date(day);
  const std::chrono::hh_mm_ss time(instant - day);
  std::string out;
  out.reserve(32);
  appendPadded(out, static_cast<int>(date.year()), 4);
  out.push_back('-');
  appendPadded(out, static_cast<unsigned>(date.month()), 2);
  out.push_back('-');
  appendPadded(out, static_cast<unsigned>(date.day()), 2);
  out.push_back('T');
  appendPadded(out, time.hours().count(), 2);
  out.push_back(':');
  appendPadded(out, time.minutes().count(), 2);
  out.push_back(':');
  appendPadded(out, time.seconds().count(), 2);
  auto micros = time.subseconds().count();
  if (micros != 0) {
    int width = 6;
    while (micros % 10 == 0) {
      micros /= 10;
      --width;
    }
    out.push_back('.');
    appendPadded(out, micros, width);
  }
  out.push_back('Z');
  return out;
}

}  // namespace kelpo
