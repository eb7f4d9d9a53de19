#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "timeline/sample_snapshot.h"

namespace kelpo {
namespace {

using namespace std::chrono;

Instant utc(int y, unsigned m, unsigned d, int h, int min) {
  return Instant{sys_days{year{y} / month{m} / day{d}} + hours{h} + minutes{min}};
}

const CalendarContext paris("fr_FR", "Europe/Paris");

TEST(SampleSnapshot, HoldsTheThreeSampleItemsVerbatim) {
  const WidgetSnapshot sample = sampleSnapshot(utc(2026, 3, 9, 6, 59), paris);

  ASSERT_EQ(sample.toSort.size(), 3u);
  const struct {
    const char* title;
    std::int64_t score;
    Gallery gallery;
    const char* detail;
  } expected[] = {
      {"AGP 9.5 : mapping.txt corrig\u00e9", 9, Gallery::stack, "Pixelbarn \u00b7 30 min"},
      {"Blender 4.5 : support des GPU Apple", 8, Gallery::stack, "shader-forge \u00b7 30 min"},
      {"Swift 6.2 : concurrence stricte par d\u00e9faut", 7, Gallery::suggestion,
       "Suggestion \u00b7 30 min"},
  };
  for (std::size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(sample.toSort[i].title, expected[i].title);
    EXPECT_EQ(sample.toSort[i].score, expected[i].score);
    EXPECT_EQ(sample.toSort[i].gallery, expected[i].gallery);
    EXPECT_EQ(sample.toSort[i].detail, expected[i].detail);
    EXPECT_FALSE(sample.toSort[i].unread);
  }
  EXPECT_NE(sample.toSort[0].id, sample.toSort[1].id);
  EXPECT_NE(sample.toSort[1].id, sample.toSort[2].id);
}

TEST(SampleSnapshot, HoldsTheSampleWeek) {
  const WidgetSnapshot sample = sampleSnapshot(utc(2026, 3, 9, 6, 59), paris);
  EXPECT_EQ(sample.toSortCount, 3);
  EXPECT_TRUE(sample.program.empty());
  EXPECT_EQ(sample.programCount, 0);
  EXPECT_EQ(sample.weekDone, 135);
  EXPECT_EQ(sample.weekPlanned, 75);
  EXPECT_EQ(sample.weekBudget, 300);
  EXPECT_EQ(sample.weekDoneCount, std::nullopt);
  EXPECT_EQ(sample.weekLabel, "2 h 15 / 5 h");
  EXPECT_EQ(sample.weekLeftLabel, std::nullopt);
  EXPECT_EQ(sample.weekBudgetLabel, std::nullopt);
  EXPECT_FALSE(sample.searching);
  EXPECT_EQ(sample.accent, "Braise");
}

// 2026-03-09 is a Monday; Paris is UTC+1 then.
TEST(SampleSnapshot, NextSearchIsTheComingMondayAtEightLocalTime) {
  EXPECT_EQ(sampleSnapshot(utc(2026, 3, 9, 6, 59), paris).nextSearch, utc(2026, 3, 9, 7, 0));
  EXPECT_EQ(sampleSnapshot(utc(2026, 3, 9, 7, 0), paris).nextSearch, utc(2026, 3, 16, 7, 0));
  EXPECT_EQ(sampleSnapshot(utc(2026, 3, 12, 15, 0), paris).nextSearch, utc(2026, 3, 16, 7, 0));
  EXPECT_EQ(
      sampleSnapshot(utc(2026, 3, 9, 6, 59), CalendarContext("en_US", "Asia/Tokyo")).nextSearch,
      utc(2026, 3, 15, 23, 0));
}

}  // namespace
}  // namespace kelpo
