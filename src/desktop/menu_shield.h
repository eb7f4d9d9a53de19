#pragma once

// A transparent X11 window over the whole screen, under the widget's menu
// while it shows, where the menu's grab stops at X11 clients (XWayland under
// mutter): a click beside the menu, on the desktop, the top bar or any
// window, then lands on an X11 surface of the host, which the menu's grab
// takes as a click outside it, and the menu closes as it does on X11.

#include <gtk/gtk.h>

namespace kelpo::desktop {

class MenuShield {
 public:
  explicit MenuShield(GtkWidget* relativeTo);
  MenuShield(const MenuShield&) = delete;
  MenuShield& operator=(const MenuShield&) = delete;
  ~MenuShield();

  // Before the menu maps, so that the menu stacks above it.
  void show();
  void hide();

 private:
  static gboolean onDraw(GtkWidget*, cairo_t* cr, gpointer);

  GtkWidget* window_ = nullptr;  // a reference of our own, dropped on destruction
  bool transparent_ = false;     // without an alpha visual it is never shown
};

}  // namespace kelpo::desktop
