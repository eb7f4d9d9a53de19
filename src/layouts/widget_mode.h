#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "snapshot/widget_snapshot.h"

namespace kelpo {

// What the widget is about right now, derived from the snapshot alone on
// every render. It picks the texts and counters of both layouts, whether the
// mascot sleeps and where a click on the widget leads.
enum class WidgetMode {
  toSort,        // items wait to be sorted
  program,       // nothing to sort; the week's programme has items
  completeWeek,  // nothing to sort or read; the week is started, not full, no search running
  weekFull,      // nothing to sort or read; the week's budget is reached
  idle,          // nothing to sort or read; the week is not started or a search is running
};

// The counts decide, not the lengths of the lists: a snapshot with
// toSortCount 2 and an empty toSort list is in mode toSort.
[[nodiscard]] WidgetMode mode(const WidgetSnapshot& snapshot);

// Whether the mascot sleeps: with a full week and with nothing to do.
[[nodiscard]] bool sleeping(WidgetMode mode);

// The link of the whole widget: the inbox while items wait to be sorted, the
// week's completion while it can be completed, the programme otherwise.
[[nodiscard]] const std::string& widgetLink(WidgetMode mode);

// The most items a layout lists: the medium layout's three rows. The small
// layout shows the first of them.
inline constexpr std::size_t listedItemLimit = 3;

// The list both layouts show items of: the items to sort while the host
// counts any, else the programme.
[[nodiscard]] const std::vector<WidgetSnapshot::Item>& listedItems(const WidgetSnapshot& snapshot);

// The mode's name as written in code ("toSort", "weekFull"...), for dumps.
[[nodiscard]] std::string_view modeName(WidgetMode mode);

}  // namespace kelpo
