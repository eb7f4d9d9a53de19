#include <gtest/gtest.h>

#include <vector>

#include "support/instants.h"
#include "timeline/sample_snapshot.h"

namespace kelpo {
namespace {

using testing_support::utc;

const CalendarContext paris("fr_FR", "Europe/Paris");

// The sample's texts, scores and week are shown by the layout tests; what
// they cannot see is here.
TEST(SampleSnapshot, ItemsAreReadWithDistinctIdsAndTheirGalleries) {
  const WidgetSnapshot sample = sampleSnapshot(utc(2026, 3, 9, 6, 59), paris);
  ASSERT_EQ(sample.toSort.size(), 3u);
  std::vector<Gallery> galleries;
  for (const auto& item : sample.toSort) {
    galleries.push_back(item.gallery);
    EXPECT_FALSE(item.unread);
  }
  EXPECT_EQ(galleries, (std::vector{Gallery::stack, Gallery::stack, Gallery::suggestion}));
  EXPECT_NE(sample.toSort[0].id, sample.toSort[1].id);
  EXPECT_NE(sample.toSort[1].id, sample.toSort[2].id);
}

// 2026-03-09 is a Monday; Paris is UTC+1 then and UTC+2 from 29 March.
TEST(SampleSnapshot, NextSearchIsTheComingMondayAtEightLocalTime) {
  const struct {
    Instant now;
    Instant expected;
  } table[] = {
      {utc(2026, 3, 9, 6, 59), utc(2026, 3, 9, 7, 0)},    // Monday 07:59: the same day
      {utc(2026, 3, 9, 7, 0), utc(2026, 3, 16, 7, 0)},    // Monday 08:00: a week later
      {utc(2026, 3, 12, 15, 0), utc(2026, 3, 16, 7, 0)},  // Thursday
      {utc(2026, 3, 15, 22, 0), utc(2026, 3, 16, 7, 0)},  // Sunday 23:00, across the week
      {utc(2026, 3, 24, 12, 0), utc(2026, 3, 30, 6, 0)},  // across the spring change
  };
  for (const auto& [now, expected] : table)
    EXPECT_EQ(sampleSnapshot(now, paris).nextSearch, expected);
  EXPECT_EQ(
      sampleSnapshot(utc(2026, 3, 9, 6, 59), CalendarContext("en_US", "Asia/Tokyo")).nextSearch,
      utc(2026, 3, 15, 23, 0));
}

}  // namespace
}  // namespace kelpo
