#pragma once

// The widget on the desktop: one process that shows the instances asked
// for, below other windows, and keeps them current.

#include "base/errors/result.h"
#include "desktop/host_report.h"
#include "desktop/settings/desktop_settings.h"
#include "desktop/widget_source.h"

namespace kelpo::desktop {

// The session-wide name of the host on the session bus, and where its
// actions ("reload") are found there.
inline constexpr const char* hostApplicationId = "app.kelpo.widget";
inline constexpr const char* hostObjectPath = "/app/kelpo/widget";

// Shows the widget until SIGINT or SIGTERM and returns the exit status: 0 on
// a clean stop, 1 when another host already runs in this session (it is
// asked to reload instead) or no display can be opened. Everything it has to
// say goes through `report`.
[[nodiscard]] int runDesktopHost(const HostSettings& settings, WidgetSource source,
                                 HostReport report);

// Asks the host running in this session to reload now. Fails, saying why,
// when none runs or the session bus cannot be reached.
[[nodiscard]] Status askRunningHostToReload();

}  // namespace kelpo::desktop
