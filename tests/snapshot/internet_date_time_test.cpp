#include "snapshot/internet_date_time.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "support/instants.h"

namespace kelpo {
namespace {

using testing_support::utc;

TEST(InternetDateTime, AcceptedFormsParseToTheSameInstant) {
  const std::pair<const char*, Instant> table[] = {
      {"2025-03-10T08:00:00Z", utc(2025, 3, 10, 8, 0, 0)},
      {"2025-03-10T09:00:00+01:00", utc(2025, 3, 10, 8, 0, 0)},
      {"2025-03-10T09:00:00+0100", utc(2025, 3, 10, 8, 0, 0)},
      {"2025-03-10T02:30:00-05:30", utc(2025, 3, 10, 8, 0, 0)},
      {"2025-03-10T00:30:00+01:00", utc(2025, 3, 9, 23, 30, 0)},
      {"2025-12-31T23:30:00-01:00", utc(2026, 1, 1, 0, 30, 0)},
      {"2025-03-10T08:00:00.123456Z", utc(2025, 3, 10, 8, 0, 0, 123456)},
      {"2025-03-10T08:00:00.1234569999Z", utc(2025, 3, 10, 8, 0, 0, 123456)},
      {"2024-02-29T12:00:00Z", utc(2024, 2, 29, 12, 0, 0)},
      {"1969-12-31T23:59:59.999999Z", utc(1969, 12, 31, 23, 59, 59, 999999)},
      {"9999-12-31T23:59:59Z", utc(9999, 12, 31, 23, 59, 59)},
      {"0000-01-01T00:00:00Z", utc(0, 1, 1, 0, 0, 0)},
  };
  for (const auto& [text, expected] : table) EXPECT_EQ(parseInstant(text), expected) << text;
}

class RefusedDates : public ::testing::TestWithParam<const char*> {};

TEST_P(RefusedDates, GiveNothing) {
  EXPECT_EQ(parseInstant(GetParam()), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    InternetDateTime, RefusedDates,
    ::testing::Values("", "2025-03-10T08:00Z", "2025-03-10T08:00:00", "2025-03-10 08:00:00Z",
                      "2025-03-10T08:00:00.Z", "2025-03-10T08:00:00,5Z", "2025-03-10T08:00:00+01",
                      "2025-03-10T08:00:00+1:00", "2025-03-10T08:00:00+24:00",
                      "2025-03-10T08:00:00+01:60", "2025-03-10T08:00:00Z ", "25-03-10T08:00:00Z",
                      "2025-13-10T08:00:00Z", "2025-04-31T08:00:00Z", "2025-02-29T08:00:00Z",
                      "1900-02-29T08:00:00Z", "2025-03-10T24:00:00Z", "2025-03-10T08:00:60Z",
                      "+2025-03-10T08:00:00Z", "0000-01-01T00:30:00+01:00",
                      "9999-12-31T23:30:00-01:00", "２025-03-10T08:00:00Z"));

TEST(InternetDateTime, WritesUtcWithTheFractionItNeedsAndReadsItBack) {
  const std::pair<Instant, const char*> table[] = {
      {utc(2025, 3, 10, 8, 0, 0), "2025-03-10T08:00:00Z"},
      {utc(2025, 3, 10, 8, 0, 0, 120), "2025-03-10T08:00:00.00012Z"},
      {utc(1969, 12, 31, 23, 59, 59, 999999), "1969-12-31T23:59:59.999999Z"},
      {utc(5, 1, 2, 3, 4, 5), "0005-01-02T03:04:05Z"},
      // Past either end of the range a date-time can hold: the nearer end,
      // which reads back.
      {utc(10000, 1, 3, 8, 0, 0), "9999-12-31T23:59:59.999999Z"},
      {utc(-1, 12, 31, 0, 0, 0), "0000-01-01T00:00:00Z"},
  };
  for (const auto& [instant, expected] : table) {
    EXPECT_EQ(formatInstant(instant), expected);
    EXPECT_EQ(parseInstant(expected), clampToWritableRange(instant));
  }
}

}  // namespace
}  // namespace kelpo
