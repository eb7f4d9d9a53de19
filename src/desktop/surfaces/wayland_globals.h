#pragma once

// Asks a Wayland compositor, before GTK opens its display, which globals it
// offers: the host chooses GDK's backend from the answer.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "desktop/settings/display_scale.h"

namespace kelpo::desktop {

// Whether the compositor named by WAYLAND_DISPLAY offers the global
// `interfaceName`; none when no compositor answers within `patience` (no
// socket, or a peer that is not a Wayland compositor).
[[nodiscard]] std::optional<bool> waylandOffers(std::string_view interfaceName,
                                                std::chrono::milliseconds patience);

// An output of the compositor: its connector name ("HDMI-A-1",
// "HEADLESS-2"), its current mode in pixels, and its size in the desktop's
// logical units (xdg-output; zero when the compositor does not offer it),
// from which the scale the desktop gave it follows.
struct WaylandOutput {
  std::string name;
  OutputExtent mode;
  OutputExtent logical;
  // Turned a quarter or three quarters: the mode's height lies across.
  bool quarterTurned = false;
};

// The outputs of the compositor named by WAYLAND_DISPLAY, in the order it
// announces them, asked on a connection of our own: GTK 3 gives only an
// output's model, the same for every output of a kind. An output's name is
// empty when the compositor does not tell it (wl_output before version 4);
// the list is empty when no compositor answers within `patience`.
[[nodiscard]] std::vector<WaylandOutput> waylandOutputs(std::chrono::milliseconds patience);

}  // namespace kelpo::desktop
