#include "desktop/assisted_focus.h"

#include "desktop/accessibility/accessible_widget_window.h"

namespace kelpo::desktop {

AssistedFocus::AssistedFocus(GtkWindow* window, DesktopSurface& surface)
    : window_(window), surface_(surface) {
  g_signal_connect(window_, "focus-in-event", G_CALLBACK(&AssistedFocus::onFocusIn), this);
  g_signal_connect(window_, "focus-out-event", G_CALLBACK(&AssistedFocus::onFocusOut), this);
  offerAccessibleFocus(GTK_WIDGET(window_), [this] { return ask(); });
}

AssistedFocus::~AssistedFocus() {
  offerAccessibleFocus(GTK_WIDGET(window_), nullptr);
  g_signal_handlers_disconnect_by_data(window_, this);
}

bool AssistedFocus::ask() {
  const focus::Outcome outcome =
      focus_.handle(focus::Asked{gtk_widget_get_mapped(GTK_WIDGET(window_)) != 0});
  apply(outcome);
  return outcome.granted;
}

void AssistedFocus::apply(const focus::Outcome& outcome) {
  // The hint first: a window manager asked to focus a window that does not
  // accept the focus leaves it where it is.
  if (outcome.acceptFocus)
    gtk_window_set_accept_focus(window_, *outcome.acceptFocus ? TRUE : FALSE);
  if (outcome.present) surface_.takeFocus(window_);
}

// Not handled here: GTK's own handlers make the window active, which the
// accessible reports as focused.
gboolean AssistedFocus::onFocusIn(GtkWidget*, GdkEventFocus*, gpointer self) {
  auto& assisted = *static_cast<AssistedFocus*>(self);
  assisted.apply(assisted.focus_.handle(focus::Gained{}));
  return FALSE;
}

gboolean AssistedFocus::onFocusOut(GtkWidget*, GdkEventFocus*, gpointer self) {
  auto& assisted = *static_cast<AssistedFocus*>(self);
  assisted.apply(assisted.focus_.handle(focus::Lost{}));
  return FALSE;
}

}  // namespace kelpo::desktop
