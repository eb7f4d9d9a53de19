#include "timeline/sample_snapshot.h"

#include <utility>

#include "snapshot/internet_date_time.h"

namespace kelpo {
namespace {

// Weekday numbers count from Sunday = 1, as calendars do.
constexpr int monday = 2;
constexpr int searchHour = 8;

[[nodiscard]] WidgetSnapshot::Item sampleItem(std::string title, std::int64_t score,
                                              Gallery gallery, std::string detail) {
  return WidgetSnapshot::Item{
      .id = Uuid::random(),
      .title = std::move(title),
      .score = score,
      .gallery = gallery,
      .detail = std::move(detail),
      .unread = false,
  };
}

}  // namespace

WidgetSnapshot sampleSnapshot(Instant now, const CalendarContext& calendar) {
  WidgetSnapshot sample;
  sample.toSort = {
      sampleItem("AGP 9.5 : mapping.txt corrigé", 9, Gallery::stack, "Pixelbarn · 30 min"),
      sampleItem("Blender 4.5 : support des GPU Apple", 8, Gallery::stack, "shader-forge · 30 min"),
      sampleItem("Swift 6.2 : concurrence stricte par défaut", 7, Gallery::suggestion,
                 "Suggestion · 30 min"),
  };
  sample.toSortCount = 3;
  sample.program = {};
  sample.programCount = 0;
  sample.weekDone = 135;
  sample.weekPlanned = 75;
  sample.weekBudget = 300;
  sample.weekDoneCount = std::nullopt;
  sample.weekLabel = "2 h 15 / 5 h";
  sample.weekLeftLabel = std::nullopt;
  sample.weekBudgetLabel = std::nullopt;
  sample.nextSearch =
      clampToWritableRange(calendar.nextDateMatching(now, monday, searchHour).value_or(now));
  sample.searching = false;
  sample.accent = "Braise";
  return sample;
}

}  // namespace kelpo
