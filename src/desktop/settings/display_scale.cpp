#include "desktop/settings/display_scale.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace kelpo::desktop {

std::optional<std::string> refusedDisplayScale(const char* value) {
  if (value == nullptr || *value == '\0') return std::nullopt;
  const char* end = value + std::strlen(value);
  int scale = 0;
  const auto [rest, failure] = std::from_chars(value, end, scale);
  if (failure == std::errc() && rest == end && scale >= 1 && scale <= largestDisplayScale) {
    return std::nullopt;
  }
  return "GDK_SCALE=\"" + std::string(value) + "\" cannot be drawn: use a whole number from 1 to " +
         std::to_string(largestDisplayScale) + ", or leave it unset";
}

namespace {

// wp_fractional_scale_v1's unit: compositors scale in 120ths.
constexpr double scaleSteps = 120.0;
// A scale below a quarter, or beyond what can be drawn, is no monitor's.
constexpr double smallestMonitorScale = 0.25;

[[nodiscard]] std::optional<double> inSteps(double scale) {
  if (!std::isfinite(scale)) return std::nullopt;
  const double stepped = std::round(scale * scaleSteps) / scaleSteps;
  if (stepped < smallestMonitorScale || stepped > largestDisplayScale) return std::nullopt;
  return stepped;
}

// 1.5 as "1.5", 2 as "2", 4/3 as "1.33": two decimals at most.
[[nodiscard]] std::string scaleWords(double scale) {
  std::array<char, 32> text{};
  std::snprintf(text.data(), text.size(), "%.2f", scale);
  std::string words(text.data());
  while (words.back() == '0') words.pop_back();
  if (words.back() == '.') words.pop_back();
  return words;
}

}  // namespace

std::optional<double> waylandMonitorScale(OutputExtent mode, OutputExtent logical,
                                          bool quarterTurned) {
  const int pixels = quarterTurned ? mode.height : mode.width;
  if (pixels <= 0 || logical.width <= 0) return std::nullopt;
  return inSteps(static_cast<double>(pixels) / logical.width);
}

std::optional<double> waylandMonitorScaleAmong(const std::vector<WaylandOutput>& outputs,
                                               int monitor, int monitors) {
  if (monitor < 0 || monitor >= monitors || outputs.size() != static_cast<std::size_t>(monitors)) {
    return std::nullopt;
  }
  const WaylandOutput& output = outputs[static_cast<std::size_t>(monitor)];
  return waylandMonitorScale(output.mode, output.logical, output.quarterTurned);
}

double x11MonitorScale(int drawn, std::optional<double> xftDpi) {
  constexpr double standardDpi = 96.0;
  const double fromDpi = xftDpi ? inSteps(*xftDpi / standardDpi).value_or(0.0) : 0.0;
  return std::max(static_cast<double>(std::max(drawn, 1)), fromDpi);
}

std::string describeScale(std::optional<double> monitor, int drawn) {
  const std::string drawnWords = std::to_string(drawn);
  if (!monitor) return "drawn at " + drawnWords + ", monitor scale unknown";
  if (scaleWords(*monitor) == drawnWords) return "scale " + drawnWords;
  return "monitor scale " + scaleWords(*monitor) + ", drawn at " + drawnWords;
}

}  // namespace kelpo::desktop
