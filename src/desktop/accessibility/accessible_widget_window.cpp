#include "desktop/accessibility/accessible_widget_window.h"

#include <utility>

#include "desktop/accessibility/widget_accessible.h"

namespace {

// A GtkApplicationWindow in all but its accessible type.
struct KelpoAccessibleWindow {
  GtkApplicationWindow parent_instance;
};

struct KelpoAccessibleWindowClass {
  GtkApplicationWindowClass parent_class;
};

G_DEFINE_TYPE(KelpoAccessibleWindow, kelpo_accessible_window, GTK_TYPE_APPLICATION_WINDOW)

void kelpo_accessible_window_init(KelpoAccessibleWindow*) {}

void kelpo_accessible_window_class_init(KelpoAccessibleWindowClass* klass) {
  gtk_widget_class_set_accessible_type(GTK_WIDGET_CLASS(klass),
                                       kelpo::desktop::widgetAccessibleType());
}

}  // namespace

namespace kelpo::desktop {

GtkWidget* newAccessibleWidgetWindow(GtkApplication* application) {
  return GTK_WIDGET(
      g_object_new(kelpo_accessible_window_get_type(), "application", application, nullptr));
}

void publishAccessibleTree(GtkWidget* window, const ui::LaidOutWidget& widget,
                           const AccessibleLinkOpener& openLink, double pixelsPerPoint) {
  if (!G_TYPE_CHECK_INSTANCE_TYPE(window, kelpo_accessible_window_get_type())) return;
  publishElements(gtk_widget_get_accessible(window),
                  {ui::accessibilityElements(widget), widget.widgetURL, pixelsPerPoint, openLink});
}

void offerAccessibleFocus(GtkWidget* window, AccessibleFocusRequest askFocus) {
  if (!G_TYPE_CHECK_INSTANCE_TYPE(window, kelpo_accessible_window_get_type())) return;
  offerFocus(gtk_widget_get_accessible(window), std::move(askFocus));
}

}  // namespace kelpo::desktop
