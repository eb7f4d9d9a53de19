#pragma once

#include <chrono>
#include <functional>
#include <vector>

#include "base/time/calendar.h"
#include "base/time/clock.h"
#include "base/time/instant.h"
#include "timeline/entry.h"
#include "widget/widget_family.h"

namespace kelpo {

class SnapshotStore;

// What the desktop says about a request. Only `isPreview` is read (by the
// snapshot request); small and medium instances get the same entries.
struct TimelineContext {
  bool isPreview = false;
  WidgetFamily family = WidgetFamily::systemSmall;
};

// The entries to show and when to ask again.
struct Timeline {
  std::vector<Entry> entries;
  Instant reloadDate;
};

// The shortest wait before the widget asks for a new timeline.
inline constexpr std::chrono::seconds minimumReloadDelay{900};

// When to ask again: at the next search, but never sooner than the minimum
// delay after `now`, and never past the last instant a date can be written
// as (year 9999).
[[nodiscard]] Instant reloadDate(Instant nextSearch, Instant now);

// Answers the desktop's three requests. Keeps nothing between requests: the
// snapshot is read from the store afresh each time, and the placeholder and
// previews use the sample record. Every answer is given synchronously, on the
// caller's thread, through exactly one call of the completion.
class Provider {
 public:
  // The provider borrows `store` and `clock`; both must outlive it.
  Provider(const SnapshotStore& store, const Clock& clock, CalendarContext calendar);

  // The sample record, dated now; never reads the store.
  [[nodiscard]] Entry placeholder(const TimelineContext& context) const;
  // The sample record in a preview, else the stored snapshot; dated now.
  void snapshot(const TimelineContext& context, const std::function<void(Entry)>& completion) const;
  // One entry holding the stored snapshot, dated after the load, and the
  // reload date for it.
  void timeline(const TimelineContext& context,
                const std::function<void(Timeline)>& completion) const;

 private:
  const SnapshotStore& store_;
  const Clock& clock_;
  CalendarContext calendar_;
};

}  // namespace kelpo
