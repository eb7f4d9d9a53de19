#include "desktop/surfaces/drag_overlay.h"

#include <gtk-layer-shell/gtk-layer-shell.h>

#include <cmath>

namespace kelpo::desktop {
namespace {

[[nodiscard]] int wholePoints(double points) {
  return static_cast<int>(std::lround(points));
}

}  // namespace

DragOverlay::DragOverlay(GdkMonitor* monitor) : window_(gtk_window_new(GTK_WINDOW_TOPLEVEL)) {
  g_object_ref_sink(window_);
  GtkWindow* window = GTK_WINDOW(window_);
  gtk_window_set_title(window, "kelpo drag");
  gtk_window_set_accept_focus(window, FALSE);
  gtk_window_set_focus_on_map(window, FALSE);
  if (GdkVisual* rgba = gdk_screen_get_rgba_visual(gtk_widget_get_screen(window_))) {
    gtk_widget_set_visual(window_, rgba);
  }
  gtk_widget_set_app_paintable(window_, TRUE);
  gtk_layer_init_for_window(window);
  gtk_layer_set_namespace(window, "kelpo-drag");
  gtk_layer_set_layer(window, GTK_LAYER_SHELL_LAYER_OVERLAY);
  gtk_layer_set_keyboard_mode(window, GTK_LAYER_SHELL_KEYBOARD_MODE_NONE);
  // Zero, not -1: laid out in what panels leave free, the area the
  // widget's own anchors count from, so its image lands where it will.
  gtk_layer_set_exclusive_zone(window, 0);
  for (const auto edge : {GTK_LAYER_SHELL_EDGE_TOP, GTK_LAYER_SHELL_EDGE_BOTTOM,
                          GTK_LAYER_SHELL_EDGE_LEFT, GTK_LAYER_SHELL_EDGE_RIGHT}) {
    gtk_layer_set_anchor(window, edge, TRUE);
  }
  if (monitor != nullptr) gtk_layer_set_monitor(window, monitor);
  // The pointer passes through to the widget that holds it, and to what
  // lies below once it is released.
  cairo_region_t* nowhere = cairo_region_create();
  gtk_widget_input_shape_combine_region(window_, nowhere);
  cairo_region_destroy(nowhere);
  g_signal_connect(window_, "draw", G_CALLBACK(&DragOverlay::onDraw), this);
}

DragOverlay::~DragOverlay() {
  g_signal_handlers_disconnect_by_data(window_, this);
  gtk_widget_destroy(window_);
  g_object_unref(window_);
}

void DragOverlay::show(cairo_surface_t* image, const DragImageQuery& where) {
  image_.reset(cairo_surface_reference(image));
  where_ = where;
  if (!gtk_widget_get_visible(window_)) {
    gtk_widget_show(window_);
    return;
  }
  const ui::Rect repaint = overlayRepaint(drawnAt_, imageFrame());
  gtk_widget_queue_draw_area(window_, wholePoints(repaint.minX()), wholePoints(repaint.minY()),
                             wholePoints(repaint.size.width), wholePoints(repaint.size.height));
}

void DragOverlay::imageChanged() {
  if (!drawnAt_) return;
  const ui::Rect repaint = overlayRepaint(std::nullopt, *drawnAt_);
  gtk_widget_queue_draw_area(window_, wholePoints(repaint.minX()), wholePoints(repaint.minY()),
                             wholePoints(repaint.size.width), wholePoints(repaint.size.height));
}

ui::Rect DragOverlay::imageFrame() const {
  DragImageQuery query = where_;
  query.overlay = {static_cast<double>(gtk_widget_get_allocated_width(window_)),
                   static_cast<double>(gtk_widget_get_allocated_height(window_))};
  return dragImageFrame(query);
}

gboolean DragOverlay::onDraw(GtkWidget*, cairo_t* cr, gpointer self) {
  auto& overlay = *static_cast<DragOverlay*>(self);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_rgba(cr, 0, 0, 0, 0);
  cairo_paint(cr);
  if (!overlay.image_) return TRUE;
  const ui::Rect frame = overlay.imageFrame();
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  cairo_set_source_surface(cr, overlay.image_.get(), frame.minX(), frame.minY());
  cairo_paint(cr);
  overlay.drawnAt_ = frame;
  return TRUE;
}

}  // namespace kelpo::desktop
