#include "desktop/settings/monitor_preference.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <system_error>

namespace kelpo::desktop {

bool isMonitorWord(std::string_view word) {
  if (word.empty() || word.size() > 64) return false;
  const char first = word.front();
  if (std::isdigit(static_cast<unsigned char>(first)) || first == '-' || first == '+') {
    int number = 0;
    const char* end = word.data() + word.size();
    const auto [rest, failure] = std::from_chars(word.data(), end, number);
    return failure == std::errc() && rest == end && number >= 0 && number <= largestMonitorNumber;
  }
  return std::all_of(word.begin(), word.end(),
                     [](char c) { return std::isgraph(static_cast<unsigned char>(c)) != 0; });
}

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
