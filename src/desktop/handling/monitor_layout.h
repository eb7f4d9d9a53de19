#pragma once

// Where the monitors lie in the desktop's layout, and what they are called:
// the monitor a widget is dropped on, and the connector names of monitors
// the display server shows under names of its own (XWayland's "XWAYLAND0").

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/views/geometry.h"

namespace kelpo::desktop {

// The monitor, by index in `monitors` (their rectangles in the desktop's
// layout), that a widget dropped with the pointer at `pointer` lands on: the
// one under the pointer, else the nearest (a pointer in a gap between
// monitors of different sizes, or pushed past the layout's edge). Nothing
// when there is no monitor.
[[nodiscard]] std::optional<std::size_t> monitorUnder(ui::Point pointer,
                                                      std::span<const ui::Rect> monitors);

// A monitor of the compositor's own layout (mutter's logical monitors): its
// top-left corner, the connectors showing it (several when mirrored), and
// the scale it is shown at.
struct LogicalMonitor {
  ui::Point origin;
  std::vector<std::string> connectors;
  double scale = 1;
};

// Which of `layout` each of `shown` is: the logical monitor with the same
// top-left corner; nothing where none or more than one corner matches, since
// a monitor taken for another would be given its name or scale.
[[nodiscard]] std::vector<std::optional<std::size_t>> logicalMonitorsByGeometry(
    std::span<const ui::Rect> shown, std::span<const LogicalMonitor> layout);

// The connector name of each of `shown` (the monitors the display server
// shows, in its layout), matched to `layout` by where they lie: the first
// connector of the logical monitor with the same top-left corner; empty
// where none or more than one corner matches, since a name guessed wrong
// would send a widget to the wrong monitor.
[[nodiscard]] std::vector<std::string> connectorNamesByGeometry(
    std::span<const ui::Rect> shown, std::span<const LogicalMonitor> layout);

}  // namespace kelpo::desktop
