#include "desktop/surfaces/monitor_choice.h"

#ifdef GDK_WINDOWING_WAYLAND
#include <gdk/gdkwayland.h>
#endif

#include <charconv>
#include <chrono>
#include <vector>

#include "desktop/settings/monitor_preference.h"
#include "desktop/surfaces/wayland_globals.h"

namespace kelpo::desktop {
namespace {

// A wish given as a number ("--monitor 1"): that monitor, if there is one.
[[nodiscard]] std::optional<int> monitorNumber(const std::string& wanted) {
  int number = 0;
  const char* end = wanted.data() + wanted.size();
  const auto [rest, failure] = std::from_chars(wanted.data(), end, number);
  if (failure != std::errc() || rest != end || number < 0) return std::nullopt;
  return number;
}

// How long the compositor may take to name its outputs: it answers in a
// millisecond; one that does not leaves the monitors unnamed.
constexpr std::chrono::milliseconds outputNamesPatience{200};

// The connector names of the display's monitors, in GDK's order. X11
// servers give the output name as the model; on Wayland GTK 3 gives the
// model ("headless", the same for every output of a kind), so the name is
// asked of the compositor. GDK makes a monitor per output in the order the
// compositor announces them, which is the order our own connection sees;
// wlroots gives every output the position 0,0 on wl_output, so the order,
// not the position, pairs them.
[[nodiscard]] std::vector<std::string> monitorNames(GdkDisplay* display) {
  const int count = gdk_display_get_n_monitors(display);
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) {
    const char* model = gdk_monitor_get_model(gdk_display_get_monitor(display, i));
    names.emplace_back(model != nullptr ? model : "");
  }
#ifdef GDK_WINDOWING_WAYLAND
  if (GDK_IS_WAYLAND_DISPLAY(display)) {
    const std::vector<WaylandOutput> outputs = waylandOutputs(outputNamesPatience);
    if (outputs.size() == names.size()) {
      for (std::size_t i = 0; i < names.size(); ++i) {
        if (!outputs[i].name.empty()) names[i] = outputs[i].name;
      }
    }
  }
#endif
  return names;
}

}  // namespace

std::string monitorName(GdkMonitor* monitor) {
  GdkDisplay* display = gdk_monitor_get_display(monitor);
  const std::vector<std::string> names = monitorNames(display);
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (gdk_display_get_monitor(display, static_cast<int>(i)) == monitor) return names[i];
  }
  return "";
}

GdkMonitor* chosenMonitor(GdkDisplay* display, const std::optional<std::string>& wanted) {
  const int count = gdk_display_get_n_monitors(display);
  if (wanted) {
    if (const auto number = monitorNumber(*wanted); number && *number < count) {
      return gdk_display_get_monitor(display, *number);
    }
  }
  // Names are asked of the compositor only for a wish that is one: a
  // widget placed each time it reloads or is dragged asks nothing when it
  // goes on the primary monitor.
  const std::vector<std::string> names =
      wanted && !wanted->empty() ? monitorNames(display)
                                 : std::vector<std::string>(static_cast<std::size_t>(count));
  std::vector<MonitorInfo> monitors;
  for (int i = 0; i < count; ++i) {
    GdkMonitor* monitor = gdk_display_get_monitor(display, i);
    monitors.push_back(
        {names[static_cast<std::size_t>(i)], gdk_monitor_is_primary(monitor) != FALSE});
  }
  const auto chosen = chooseMonitor(wanted, monitors);
  return chosen ? gdk_display_get_monitor(display, static_cast<int>(*chosen)) : nullptr;
}

ui::Rect workAreaOf(GdkMonitor* monitor) {
  GdkRectangle area{};
  gdk_monitor_get_workarea(monitor, &area);
  return {{static_cast<double>(area.x), static_cast<double>(area.y)},
          {static_cast<double>(area.width), static_cast<double>(area.height)}};
}

}  // namespace kelpo::desktop
