#include "platform/desktop/surfaces/layer_shell_surface.h"

#include <gtk-layer-shell/gtk-layer-shell.h>

#include <cmath>

#include "platform/desktop/surfaces/monitor_choice.h"

namespace kelpo::desktop {
namespace {

[[nodiscard]] const char* edgeName(GtkLayerShellEdge edge) {
  switch (edge) {
    case GTK_LAYER_SHELL_EDGE_TOP:
      return "top";
    case GTK_LAYER_SHELL_EDGE_BOTTOM:
      return "bottom";
    case GTK_LAYER_SHELL_EDGE_LEFT:
      return "left";
    case GTK_LAYER_SHELL_EDGE_RIGHT:
    case GTK_LAYER_SHELL_EDGE_ENTRY_NUMBER:
      break;
  }
  return "right";
}

[[nodiscard]] GtkLayerShellEdge verticalEdge(GtkWindow* window) {
  return gtk_layer_get_anchor(window, GTK_LAYER_SHELL_EDGE_BOTTOM) ? GTK_LAYER_SHELL_EDGE_BOTTOM
                                                                   : GTK_LAYER_SHELL_EDGE_TOP;
}

[[nodiscard]] GtkLayerShellEdge horizontalEdge(GtkWindow* window) {
  return gtk_layer_get_anchor(window, GTK_LAYER_SHELL_EDGE_LEFT) ? GTK_LAYER_SHELL_EDGE_LEFT
                                                                 : GTK_LAYER_SHELL_EDGE_RIGHT;
}

}  // namespace

void LayerShellSurface::prepare(GtkWindow* window) {
  gtk_layer_init_for_window(window);
  gtk_layer_set_namespace(window, "kelpo-widget");
  gtk_layer_set_layer(window, GTK_LAYER_SHELL_LAYER_BOTTOM);
  gtk_layer_set_keyboard_mode(window, GTK_LAYER_SHELL_KEYBOARD_MODE_NONE);
  // Zero: moved clear of the panels' exclusive zones, reserving none itself.
  gtk_layer_set_exclusive_zone(window, 0);
}

void LayerShellSurface::place(GtkWindow* window, const WindowPlacement& where, ui::Size) {
  const Placement& placement = where.placement;
  const int margin = static_cast<int>(std::lround(placement.margin));
  const int along = static_cast<int>(std::lround(where.offsetAlongEdge));
  if (GdkMonitor* monitor =
          chosenMonitor(gtk_widget_get_display(GTK_WIDGET(window)), placement.monitor)) {
    gtk_layer_set_monitor(window, monitor);
  }
  const GtkLayerShellEdge vertical =
      isTopCorner(placement.corner) ? GTK_LAYER_SHELL_EDGE_TOP : GTK_LAYER_SHELL_EDGE_BOTTOM;
  const GtkLayerShellEdge horizontal =
      isLeftCorner(placement.corner) ? GTK_LAYER_SHELL_EDGE_LEFT : GTK_LAYER_SHELL_EDGE_RIGHT;
  for (const auto edge : {GTK_LAYER_SHELL_EDGE_TOP, GTK_LAYER_SHELL_EDGE_BOTTOM,
                          GTK_LAYER_SHELL_EDGE_LEFT, GTK_LAYER_SHELL_EDGE_RIGHT}) {
    gtk_layer_set_anchor(window, edge, edge == vertical || edge == horizontal);
  }
  gtk_layer_set_margin(window, vertical, margin + along);
  gtk_layer_set_margin(window, horizontal, margin);
}

bool LayerShellSurface::blendsAlpha(GtkWidget*) const {
  return true;
}

std::string LayerShellSurface::describe(GtkWindow* window) const {
  const GtkLayerShellEdge vertical = verticalEdge(window);
  const GtkLayerShellEdge horizontal = horizontalEdge(window);
  return std::string("as a layer-shell surface anchored ") + edgeName(vertical) + "-" +
         edgeName(horizontal) + ", " + std::to_string(gtk_layer_get_margin(window, vertical)) +
         " from the " + edgeName(vertical) + " and " +
         std::to_string(gtk_layer_get_margin(window, horizontal)) + " from the " +
         edgeName(horizontal) + " of the area panels leave free";
}

}  // namespace kelpo::desktop
