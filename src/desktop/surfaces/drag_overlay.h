#pragma once

// A transparent layer surface over a whole output, above every window and
// taking no input, that shows a widget's image while the widget is dragged:
// a layer surface cannot move under a held button, since the pointer is
// counted from it. Made when a drag starts and destroyed after it.

#include <gtk/gtk.h>

#include <optional>

#include "desktop/handling/drag_image.h"
#include "engine/drawing/cairo_handles.h"

namespace kelpo::desktop {

class DragOverlay {
 public:
  explicit DragOverlay(GdkMonitor* monitor);
  DragOverlay(const DragOverlay&) = delete;
  DragOverlay& operator=(const DragOverlay&) = delete;
  ~DragOverlay();

  // `image` (at the device's scale) where `where` puts it on the overlay,
  // whose own size is filled in here.
  void show(cairo_surface_t* image, const DragImageQuery& where);
  // The image was drawn again in place (an animation): shown anew.
  void imageChanged();

 private:
  static gboolean onDraw(GtkWidget*, cairo_t* cr, gpointer self);
  [[nodiscard]] ui::Rect imageFrame() const;

  GtkWidget* window_ = nullptr;  // a reference of our own, dropped on destruction
  ui::SurfaceHandle image_;
  DragImageQuery where_;
  std::optional<ui::Rect> drawnAt_;  // on the overlay, in points
};

}  // namespace kelpo::desktop
