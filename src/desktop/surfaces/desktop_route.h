#pragma once

// The one choice of how the widget sits on this desktop, made once GTK has
// opened its display.

#include <gtk/gtk.h>

#include "desktop/surfaces/desktop_surface.h"

namespace kelpo::desktop {

[[nodiscard]] DesktopRoute chooseDesktopRoute(GdkDisplay* display);

}  // namespace kelpo::desktop
