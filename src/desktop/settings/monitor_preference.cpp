#include "desktop/settings/monitor_preference.h"

namespace kelpo::desktop {

std::optional<std::size_t> chooseMonitor(const std::optional<std::string>& wanted,
                                         std::span<const MonitorInfo> monitors) {
  if (monitors.empty()) return std::nullopt;
  if (wanted && !wanted->empty()) {
    for (std::size_t i = 0; i < monitors.size(); ++i) {
      if (monitors[i].name == *wanted) return i;
    }
  }
  for (std::size_t i = 0; i < monitors.size(); ++i) {
    if (monitors[i].primary) return i;
  }
  return 0;
}

}  // namespace kelpo::desktop
