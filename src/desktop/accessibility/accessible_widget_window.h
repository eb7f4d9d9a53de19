#pragma once

// A widget window that screen readers can read: its accessible object has
// one child per accessibility element of the widget it shows, kept up to
// date by the host after each layout.

#include <gtk/gtk.h>

#include "desktop/accessibility/element_accessible.h"
#include "desktop/accessibility/widget_accessible.h"
#include "engine/layout/layout_tree.h"

namespace kelpo::desktop {

// A new GtkApplicationWindow whose accessible object is the widget's; like
// gtk_application_window_new's, GTK owns it until gtk_widget_destroy.
// `application` may be null.
[[nodiscard]] GtkWidget* newAccessibleWidgetWindow(GtkApplication* application);

// Hands the widget just laid out for `window` to its accessible object:
// names, descriptions, roles, frames and links follow it, and AT-SPI hears
// what changed. `openLink` is what a pointer click on a link calls;
// `pixelsPerPoint` is how many GDK logical pixels one widget point takes.
// A window not made by newAccessibleWidgetWindow is left alone.
void publishAccessibleTree(GtkWidget* window, const ui::LaidOutWidget& widget,
                           const AccessibleLinkOpener& openLink, double pixelsPerPoint = 1);

// Lets an assistive technology put the keyboard focus on `window` through
// `askFocus` (see offerFocus); an empty request takes that back. A window
// not made by newAccessibleWidgetWindow is left alone.
void offerAccessibleFocus(GtkWidget* window, AccessibleFocusRequest askFocus);

}  // namespace kelpo::desktop
