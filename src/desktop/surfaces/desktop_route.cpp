#include "desktop/surfaces/desktop_route.h"

#include <gdk/gdkwayland.h>
#include <gdk/gdkx.h>

#include "desktop/surfaces/layer_shell_surface.h"
#include "desktop/surfaces/plain_window_surface.h"
#include "desktop/surfaces/x11_desktop_surface.h"

namespace kelpo::desktop {

DesktopRoute chooseDesktopRoute(GdkDisplay* display) {
  if (GDK_IS_X11_DISPLAY(display)) {
    // An X display beside a Wayland one is the compositor's XWayland.
    const char* wayland = g_getenv("WAYLAND_DISPLAY");
    const bool throughXWayland = wayland != nullptr && *wayland != '\0';
    return {throughXWayland ? "XWayland desktop window" : "X11 desktop window",
            [throughXWayland] { return std::make_unique<X11DesktopSurface>(throughXWayland); }, ""};
  }
  // Asked of GDK's own registry: gtk-layer-shell's check warns on stderr
  // where the compositor has none.
  if (GDK_IS_WAYLAND_DISPLAY(display) &&
      gdk_wayland_display_query_registry(display, "zwlr_layer_shell_v1")) {
    return {"layer-shell", [] { return std::make_unique<LayerShellSurface>(); }, ""};
  }
  return {"plain window", [] { return std::make_unique<PlainWindowSurface>(); },
          "the compositor offers no layer-shell and no X display: the widget is an ordinary "
          "window, placed by the compositor, raised and focused when clicked, listed with the "
          "other windows"};
}

}  // namespace kelpo::desktop
