#include "layouts/widget_mode.h"

#include "timeline/deep_links.h"

namespace kelpo {

WidgetMode mode(const WidgetSnapshot& snapshot) {
  // The order of the tests matters: a zero budget counts as a full week
  // before the week can count as not started.
  if (snapshot.toSortCount > 0) return WidgetMode::toSort;
  if (snapshot.programCount > 0) return WidgetMode::program;
  if (snapshot.weekDone >= snapshot.weekBudget) return WidgetMode::weekFull;
  if (snapshot.weekDone < 1) return WidgetMode::idle;
  if (!snapshot.searching) return WidgetMode::completeWeek;
  return WidgetMode::idle;
}

const std::vector<WidgetSnapshot::Item>& listedItems(const WidgetSnapshot& snapshot) {
  return snapshot.toSortCount > 0 ? snapshot.toSort : snapshot.program;
}

bool sleeping(WidgetMode mode) {
  return mode == WidgetMode::weekFull || mode == WidgetMode::idle;
}

const std::string& widgetLink(WidgetMode mode) {
  switch (mode) {
    case WidgetMode::toSort:
      return inboxURL();
    case WidgetMode::completeWeek:
      return completeWeekURL();
    case WidgetMode::program:
    case WidgetMode::weekFull:
    case WidgetMode::idle:
      break;
  }
  return programURL();
}

std::string_view modeName(WidgetMode mode) {
  switch (mode) {
    case WidgetMode::toSort:
      return "toSort";
    case WidgetMode::program:
      return "program";
    case WidgetMode::completeWeek:
      return "completeWeek";
    case WidgetMode::weekFull:
      return "weekFull";
    case WidgetMode::idle:
      break;
  }
  return "idle";
}

}  // namespace kelpo
