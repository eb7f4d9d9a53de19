#include "layouts/week_figures.h"

#include <algorithm>

#include "base/numbers/saturating.h"

namespace kelpo {

std::int64_t tilePercentage(const WidgetSnapshot& snapshot) {
  const std::int64_t budget = std::max<std::int64_t>(snapshot.weekBudget, 1);
  const std::int64_t scaled = saturatingMultiply(snapshot.weekDone, 100);
  // The budget is at least 1, so the division cannot overflow.
  return std::min<std::int64_t>(scaled / budget, 100);
}

std::int64_t weekDoneItems(const WidgetSnapshot& snapshot) {
  return snapshot.weekDoneCount.value_or(0);
}

}  // namespace kelpo
