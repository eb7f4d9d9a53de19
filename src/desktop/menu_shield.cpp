#include "desktop/menu_shield.h"

namespace kelpo::desktop {
namespace {

// Every monitor, in the screen's application pixels.
[[nodiscard]] GdkRectangle screenArea(GdkDisplay* display) {
  GdkRectangle area{0, 0, 0, 0};
  const int count = gdk_display_get_n_monitors(display);
  for (int index = 0; index < count; ++index) {
    GdkRectangle monitor{};
    gdk_monitor_get_geometry(gdk_display_get_monitor(display, index), &monitor);
    if (area.width == 0 || area.height == 0) {
      area = monitor;
    } else {
      gdk_rectangle_union(&area, &monitor, &area);
    }
  }
  return area;
}

}  // namespace

MenuShield::MenuShield(GtkWidget* relativeTo) : window_(gtk_window_new(GTK_WINDOW_POPUP)) {
  g_object_ref_sink(window_);
  GdkScreen* screen = gtk_widget_get_screen(relativeTo);
  gtk_window_set_screen(GTK_WINDOW(window_), screen);
  gtk_window_set_title(GTK_WINDOW(window_), "kelpo menu shield");
  GdkVisual* rgba = gdk_screen_get_rgba_visual(screen);
  transparent_ = rgba != nullptr && gdk_screen_is_composited(screen);
  if (transparent_) gtk_widget_set_visual(window_, rgba);
  gtk_widget_set_app_paintable(window_, TRUE);
  g_signal_connect(window_, "draw", G_CALLBACK(&MenuShield::onDraw), nullptr);
}

MenuShield::~MenuShield() {
  gtk_widget_destroy(window_);
  g_object_unref(window_);
}

void MenuShield::show() {
  // Opaque, it would hide the desktop: then clicks beside the menu stay as
  // they were.
  if (!transparent_) return;
  const GdkRectangle area = screenArea(gtk_widget_get_display(window_));
  if (area.width < 1 || area.height < 1) return;
  gtk_window_move(GTK_WINDOW(window_), area.x, area.y);
  gtk_window_resize(GTK_WINDOW(window_), area.width, area.height);
  gtk_widget_set_size_request(window_, area.width, area.height);
  gtk_widget_show(window_);
}

void MenuShield::hide() {
  gtk_widget_hide(window_);
}

gboolean MenuShield::onDraw(GtkWidget*, cairo_t* cr, gpointer) {
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_rgba(cr, 0, 0, 0, 0);
  cairo_paint(cr);
  return TRUE;
}

}  // namespace kelpo::desktop
