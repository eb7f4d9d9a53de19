#pragma once

#include <string>

#include "snapshot/widget_snapshot.h"

namespace kelpo {

// The links the widget hands to the desktop; the host application answers
// the "kelpo" scheme. The three fixed links are made once, on first use, and
// shared until the process ends.
[[nodiscard]] const std::string& inboxURL();
[[nodiscard]] const std::string& programURL();
[[nodiscard]] const std::string& completeWeekURL();

// "kelpo://topic/" followed by the item's id in upper-case 8-4-4-4-12 form,
// however the id was written in widget.json.
[[nodiscard]] std::string topicURL(const WidgetSnapshot::Item& item);

}  // namespace kelpo
