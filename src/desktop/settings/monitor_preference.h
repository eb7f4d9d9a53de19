#pragma once

// Which monitor an instance shows on. An instance belongs to a monitor by
// its connector name ("DP-1", "HDMI-A-1"), which survives unplugging and
// replugging where a monitor's index does not.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kelpo::desktop {

struct MonitorInfo {
  std::string name;  // the connector; may be empty when the server gives none
  bool primary = false;
};

// Monitors are counted from 0; a larger number is no monitor anyone has.
inline constexpr int largestMonitorNumber = 63;

// Whether `word` can name a monitor: its number, or a connector name of
// printable characters without spaces. A word that starts like a number
// must be one.
[[nodiscard]] bool isMonitorWord(std::string_view word);

// The index in `monitors` of the instance's monitor: the one named `wanted`
// while it is plugged in, else the primary one, else the first. Nothing when
// there is no monitor at all. The instance keeps its wanted name, so when
// that monitor comes back the instance returns to it.
[[nodiscard]] std::optional<std::size_t> chooseMonitor(const std::optional<std::string>& wanted,
                                                       std::span<const MonitorInfo> monitors);

// What to tell a person whose wish `wanted` finds none of `monitors`, so the
// widget shows on the primary one instead: a number past the last monitor,
// a name not plugged in, or any name where the display server tells no
// connector names (`namesKnown` false) and numbers alone choose. Nothing
// when the wish finds its monitor.
[[nodiscard]] std::optional<std::string> monitorWishProblem(const std::string& wanted,
                                                            std::span<const MonitorInfo> monitors,
                                                            bool namesKnown);

}  // namespace kelpo::desktop
