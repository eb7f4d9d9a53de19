#pragma once

#include "base/time/calendar.h"
#include "base/time/instant.h"
#include "snapshot/widget_snapshot.h"

namespace kelpo {

// The record drawn for placeholders and gallery previews, built in code:
// three items to sort (fresh random ids on every call), 2 h 15 of a 5 h
// week, accent "Braise", and the next search on the coming Monday at 08:00
// in `calendar` (strictly after `now`; `now` itself if the calendar finds
// no such time).
[[nodiscard]] WidgetSnapshot sampleSnapshot(Instant now, const CalendarContext& calendar);

}  // namespace kelpo
