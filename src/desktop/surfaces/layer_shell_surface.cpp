#include "desktop/surfaces/layer_shell_surface.h"

#include <gtk-layer-shell/gtk-layer-shell.h>

#include <cmath>

#include "desktop/surfaces/monitor_choice.h"

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
  // KWin reads the namespace as the window's type: "desktop" makes the
  // widget part of the desktop, which "Show Desktop" leaves in place; any
  // other name makes it a normal window, which it hides. wlroots
  // compositors only show the name.
  gtk_layer_set_namespace(window, "desktop");
  gtk_layer_set_layer(window, GTK_LAYER_SHELL_LAYER_BOTTOM);
  gtk_layer_set_keyboard_mode(window, GTK_LAYER_SHELL_KEYBOARD_MODE_NONE);
  // Zero: moved clear of the panels' exclusive zones, reserving none itself.
  gtk_layer_set_exclusive_zone(window, 0);
}

// On layer-shell a place is what the protocol speaks: anchors at the
// place's corner and margins from its two edges, counted from what panels
// leave free.
void LayerShellSurface::place(GtkWindow* window, const WindowPlacement& where, ui::Size) {
  const InstancePlace place = where.effectivePlace();
  if (GdkMonitor* monitor =
          chosenMonitor(gtk_widget_get_display(GTK_WIDGET(window)), where.effectiveMonitor())) {
    gtk_layer_set_monitor(window, monitor);
  }
  const bool top = place.corner == Corner::topLeft || place.corner == Corner::topRight;
  const bool left = place.corner == Corner::topLeft || place.corner == Corner::bottomLeft;
  const GtkLayerShellEdge vertical = top ? GTK_LAYER_SHELL_EDGE_TOP : GTK_LAYER_SHELL_EDGE_BOTTOM;
  const GtkLayerShellEdge horizontal =
      left ? GTK_LAYER_SHELL_EDGE_LEFT : GTK_LAYER_SHELL_EDGE_RIGHT;
  for (const auto edge : {GTK_LAYER_SHELL_EDGE_TOP, GTK_LAYER_SHELL_EDGE_BOTTOM,
                          GTK_LAYER_SHELL_EDGE_LEFT, GTK_LAYER_SHELL_EDGE_RIGHT}) {
    gtk_layer_set_anchor(window, edge, edge == vertical || edge == horizontal);
  }
  gtk_layer_set_margin(window, vertical, static_cast<int>(std::lround(place.verticalOffset)));
  gtk_layer_set_margin(window, horizontal, static_cast<int>(std::lround(place.horizontalOffset)));
}

// The keys come to a layer surface only as the compositor's focus rules
// allow. Asked for on demand while a drag lasts, most compositors (sway
// among them) give them at a click on the surface, not at once, so Escape
// seldom reaches a drag on Wayland; the exclusive mode, which would take
// them at once, holds only on the top and overlay layers, not on the bottom
// one the widget lives on.
void LayerShellSurface::holdKeys(GtkWindow* window, bool held) {
  constexpr guint onDemandSince = 4;
  if (gtk_layer_get_protocol_version() < onDemandSince) return;
  gtk_layer_set_keyboard_mode(
      window, held ? GTK_LAYER_SHELL_KEYBOARD_MODE_ON_DEMAND : GTK_LAYER_SHELL_KEYBOARD_MODE_NONE);
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
