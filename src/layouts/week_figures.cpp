#include "layouts/week_figures.h"

#include <algorithm>
#include <limits>

namespace kelpo {

std::int64_t tilePercentage(const WidgetSnapshot& snapshot) {
  const std::int64_t budget = std::max<std::int64_t>(snapshot.weekBudget, 1);
  std::int64_t scaled = 0;
  if (__builtin_mul_overflow(snapshot.weekDone, std::int64_t{100}, &scaled)) {
    scaled = snapshot.weekDone > 0 ? std::numeric_limits<std::int64_t>::max()
                                   : std::numeric_limits<std::int64_t>::min();
  }
  // The budget is at least 1, so the division cannot overflow.
  return std::min<std::int64_t>(scaled / budget, 100);
}

std::int64_t weekDoneItems(const WidgetSnapshot& snapshot) {
  return snapshot.weekDoneCount.value_or(0);
}

}  // namespace kelpo
