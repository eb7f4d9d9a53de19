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
