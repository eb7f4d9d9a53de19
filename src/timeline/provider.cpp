#include "timeline/provider.h"

#include <algorithm>
#include <utility>

#include "snapshot/internet_date_time.h"
#include "snapshot/snapshot_store.h"
#include "timeline/sample_snapshot.h"

namespace kelpo {

Instant reloadDate(Instant nextSearch, Instant now) {
  return clampToWritableRange(std::max(nextSearch, now + minimumReloadDelay));
}

Provider::Provider(const SnapshotStore& store, const Clock& clock, CalendarContext calendar)
    : store_(store), clock_(clock), calendar_(std::move(calendar)) {}

Entry Provider::placeholder(const TimelineContext& /*context*/) const {
  const Instant now = clock_.now();
  return Entry{now, sampleSnapshot(now, calendar_)};
}

void Provider::snapshot(const TimelineContext& context,
                        const std::function<void(Entry)>& completion) const {
  const Instant now = clock_.now();
  WidgetSnapshot record =
      context.isPreview ? sampleSnapshot(now, calendar_) : store_.loadSnapshot();
  completion(Entry{now, std::move(record)});
}

void Provider::timeline(const TimelineContext& /*context*/,
                        const std::function<void(Timeline)>& completion) const {
  WidgetSnapshot record = store_.loadSnapshot();
  // Now is read after the load, so the entry is not dated before the data it
  // shows, and read again for the reload so a slow load cannot shorten the
  // minimum delay.
  const Instant entryDate = clock_.now();
  const Instant reload = reloadDate(record.nextSearch, clock_.now());
  Timeline timeline;
  timeline.entries.push_back(Entry{entryDate, std::move(record)});
  timeline.reloadDate = reload;
  completion(std::move(timeline));
}

}  // namespace kelpo
