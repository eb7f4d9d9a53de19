#pragma once

#include <cstdint>

#include "snapshot/widget_snapshot.h"

namespace kelpo {

// The share of the week's budget that is done, in whole percent:
// weekDone x 100 / max(weekBudget, 1), truncated toward zero, at most 100.
// A product beyond the 64-bit range saturates instead of overflowing; a
// negative weekDone gives a negative percentage.
[[nodiscard]] std::int64_t tilePercentage(const WidgetSnapshot& snapshot);

// Items finished this week, 0 when the host did not say.
[[nodiscard]] std::int64_t weekDoneItems(const WidgetSnapshot& snapshot);

}  // namespace kelpo
