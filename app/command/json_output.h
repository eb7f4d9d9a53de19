#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/time/instant.h"
#include "timeline/entry.h"

namespace kelpo::app {

// A provider's answer as JSON:
//   {"entries": [{"date": "...", "snapshot": {...}}], "reloadDate": "..."}
// each snapshot in the widget.json form, dates in UTC ISO 8601; "reloadDate"
// only when there is one (timeline requests). Pretty-printed, ending with a
// new line.
[[nodiscard]] std::string entriesJson(const std::vector<Entry>& entries,
                                      std::optional<Instant> reloadDate = std::nullopt);

}  // namespace kelpo::app
