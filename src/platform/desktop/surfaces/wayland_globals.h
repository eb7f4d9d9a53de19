#pragma once

// Asks a Wayland compositor, before GTK opens its display, which globals it
// offers: the host chooses GDK's backend from the answer.

#include <chrono>
#include <optional>
#include <string_view>

namespace kelpo::desktop {

// Whether the compositor named by WAYLAND_DISPLAY offers the global
// `interfaceName`; none when no compositor answers within `patience` (no
// socket, or a peer that is not a Wayland compositor).
[[nodiscard]] std::optional<bool> waylandOffers(std::string_view interfaceName,
                                                std::chrono::milliseconds patience);

}  // namespace kelpo::desktop
