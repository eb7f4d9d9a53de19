#pragma once

// The monitor layout of mutter (GNOME), asked on the session bus: under
// XWayland the X server names its monitors XWAYLAND0, XWAYLAND1, and only
// mutter knows which connector each one is.

#include <chrono>
#include <vector>

#include "desktop/handling/monitor_layout.h"

namespace kelpo::desktop {

// mutter's logical monitors with their connectors; empty when no mutter
// answers within `patience` (another compositor, no session bus).
[[nodiscard]] std::vector<LogicalMonitor> mutterLayout(std::chrono::milliseconds patience);

}  // namespace kelpo::desktop
