#include "desktop/surfaces/plain_window_surface.h"

namespace kelpo::desktop {

void PlainWindowSurface::prepare(GtkWindow* window) {
  // Hints the compositor may honour; Wayland has no way to insist.
  gtk_window_set_keep_below(window, TRUE);
  gtk_window_stick(window);
}

void PlainWindowSurface::place(GtkWindow*, const WindowPlacement&, ui::Size) {
  // A Wayland client cannot choose its position.
}

bool PlainWindowSurface::blendsAlpha(GtkWidget* window) const {
  return gdk_screen_is_composited(gtk_widget_get_screen(window)) != FALSE;
}

std::string PlainWindowSurface::describe(GtkWindow*) const {
  return "as a plain window, where the compositor put it";
}

}  // namespace kelpo::desktop
