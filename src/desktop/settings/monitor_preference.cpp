#include "desktop/settings/monitor_preference.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string>
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

std::optional<std::string> monitorWishProblem(const std::string& wanted,
                                              std::span<const MonitorInfo> monitors,
                                              bool namesKnown) {
  const std::string numbers = monitors.empty() ? std::string("none is plugged in")
                                               : "0 to " + std::to_string(monitors.size() - 1);
  int number = 0;
  const char* end = wanted.data() + wanted.size();
  if (const auto [rest, failure] = std::from_chars(wanted.data(), end, number);
      failure == std::errc() && rest == end) {
    if (number >= 0 && static_cast<std::size_t>(number) < monitors.size()) return std::nullopt;
    return "there is no monitor " + wanted + " (" + numbers +
           "): the widget shows on the primary monitor";
  }
  if (!namesKnown) {
    return "monitor names are not known on this desktop, so \"" + wanted +
           "\" finds no monitor and the widget shows on the primary one; --monitor takes a "
           "number here (" +
           numbers + ")";
  }
  if (std::ranges::any_of(monitors, [&](const MonitorInfo& m) { return m.name == wanted; })) {
    return std::nullopt;
  }
  std::string present;
  for (const MonitorInfo& monitor : monitors) {
    present += (present.empty() ? "" : ", ") + monitor.name;
  }
  return "no monitor named \"" + wanted + "\" is plugged in (there " +
         (monitors.size() == 1 ? "is " : "are ") + (present.empty() ? "none" : present) +
         "): the widget shows on the primary monitor until it is";
}

}  // namespace kelpo::desktop
