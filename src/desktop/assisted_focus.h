#pragma once

// The keyboard focus of a widget window, which only an assistive technology
// can put there: it then accepts the focus and asks the desktop for it,
// until the focus leaves (KeyboardFocus decides). Once focused, the Menu key
// and Shift+F10 reach the window, which opens its menu.

#include <gtk/gtk.h>

#include "desktop/handling/keyboard_focus.h"
#include "desktop/surfaces/desktop_surface.h"

namespace kelpo::desktop {

class AssistedFocus {
 public:
  // `window` (a widget window) and `surface` must outlive this.
  AssistedFocus(GtkWindow* window, DesktopSurface& surface);
  AssistedFocus(const AssistedFocus&) = delete;
  AssistedFocus& operator=(const AssistedFocus&) = delete;
  ~AssistedFocus();

 private:
  static gboolean onFocusIn(GtkWidget*, GdkEventFocus*, gpointer self);
  static gboolean onFocusOut(GtkWidget*, GdkEventFocus*, gpointer self);

  bool ask();
  void apply(const focus::Outcome& outcome);

  GtkWindow* window_;
  DesktopSurface& surface_;
  KeyboardFocus focus_;
};

}  // namespace kelpo::desktop
