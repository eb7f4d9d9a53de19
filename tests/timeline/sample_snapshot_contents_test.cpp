#include <gtest/gtest.h>

#include "support/instants.h"
#include "timeline/sample_snapshot.h"

namespace kelpo {
namespace {

using testing_support::utc;

const CalendarContext paris("fr_FR", "Europe/Paris");

// The coming Monday at 08:00 in the calendar's zone; the matching itself,
// across weeks and clock changes, is the calendar's test.
TEST(SampleSnapshot, NextSearchIsTheComingMondayAtEightLocalTime) {
  EXPECT_EQ(sampleSnapshot(utc(2026, 3, 12, 15, 0), paris).nextSearch, utc(2026, 3, 16, 7, 0));
  EXPECT_EQ(
      sampleSnapshot(utc(2026, 3, 9, 6, 59), CalendarContext("en_US", "Asia/Tokyo")).nextSearch,
      utc(2026, 3, 15, 23, 0));
}

}  // namespace
}  // namespace kelpo
