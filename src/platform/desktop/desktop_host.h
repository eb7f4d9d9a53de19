#pragma once

// The widget on the desktop: one process that shows the instances asked
// for, below other windows, and keeps them current.

#include <functional>
#include <string>

#include "platform/desktop/desktop_settings.h"
#include "platform/desktop/widget_source.h"

namespace kelpo::desktop {

// The session-wide name of the host (a D-Bus name through GApplication).
inline constexpr const char* hostApplicationId = "app.kelpo.widget";

// What the host has to tell the person who started it; the program decides
// where each goes.
struct HostReport {
  // An instance's first frame is on screen: its size, surface and place.
  std::function<void(const std::string&)> shown;
  // What the widget cannot be on this desktop.
  std::function<void(const std::string&)> limitation;
};

// Shows the widget until SIGINT or SIGTERM and returns the exit status: 0 on
// a clean stop, 1 when another host already runs in this session (it is
// asked to reload instead) or no display can be opened.
[[nodiscard]] int runDesktopHost(const HostSettings& settings, WidgetSource source,
                                 HostReport report);

// Asks the host running in this session to reload now. False, with the
// reason in `error`, when none runs or the session bus cannot be reached.
[[nodiscard]] bool askRunningHostToReload(std::string& error);

}  // namespace kelpo::desktop
