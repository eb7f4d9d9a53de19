#pragma once

// One way of putting a widget window on a desktop: a layer-shell surface, an
// X11 desktop window, a plain window. Each knows its own placement, stacking
// and shape rules; the host picks one kind at start and never asks which.

#include <gtk/gtk.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "desktop/settings/desktop_settings.h"
#include "engine/views/geometry.h"

namespace kelpo::desktop {

// Where an instance goes: its own place and monitor when a person gave it
// one, else the shared placement, moved along the edge past the instances
// before it.
struct WindowPlacement {
  Placement placement;
  double offsetAlongEdge = 0;  // points
  std::optional<std::string> monitor;
  std::optional<InstancePlace> place;

  // The place in the work area, whichever way it was given.
  [[nodiscard]] InstancePlace effectivePlace() const {
    if (place) return *place;
    return {placement.corner, placement.margin, placement.margin + offsetAlongEdge};
  }
  [[nodiscard]] const std::optional<std::string>& effectiveMonitor() const {
    return monitor ? monitor : placement.monitor;
  }
};

class DesktopSurface {
 public:
  DesktopSurface() = default;
  DesktopSurface(const DesktopSurface&) = delete;
  DesktopSurface& operator=(const DesktopSurface&) = delete;
  virtual ~DesktopSurface() = default;

  // Gives the new, not yet realized window its role: layer, type, stacking.
  virtual void prepare(GtkWindow* window) = 0;
  // Puts the window, `size` points large, where `where` asks.
  virtual void place(GtkWindow* window, const WindowPlacement& where, ui::Size size) = 0;
  // After the window is mapped: what must be kept true while it shows.
  virtual void shown(GtkWindow* /*window*/) {}
  // True when what lies outside the widget's outline can be left to alpha
  // blending; false when only a shape keeps the desktop visible there.
  [[nodiscard]] virtual bool blendsAlpha(GtkWidget* window) const = 0;
  // Whether the window holds the keyboard: while a drag lasts, for Escape,
  // though it takes no focus otherwise. Left undone where the display does
  // not let a window have the keys on its own asking.
  virtual void holdKeys(GtkWindow* /*window*/, bool /*held*/) {}
  // Asks the desktop to give the window the keyboard focus now, on an
  // assistive technology's request.
  virtual void takeFocus(GtkWindow* window) { gtk_window_present(window); }
  // True when window positions are the desktop's (X11); false when the
  // compositor alone knows where the window is (Wayland), so the widget's
  // frame is known only from its own place.
  [[nodiscard]] virtual bool knowsScreenPosition() const { return false; }
  // True where a surface of ours can lie over a whole output, above every
  // window, without taking the pointer (layer-shell's overlay layer): the
  // image of a widget that cannot move while held is dragged there.
  [[nodiscard]] virtual bool overlaysOutputs() const { return false; }
  // False where an X11 grab (the menu's) stops at the X11 clients of a
  // Wayland compositor.
  [[nodiscard]] virtual bool grabReachesEveryClient() const { return true; }
  // What the window is and where, in words for the person who started it.
  [[nodiscard]] virtual std::string describe(GtkWindow* window) const = 0;
};

using DesktopSurfaceMaker = std::function<std::unique_ptr<DesktopSurface>()>;

// The kind of surface the display offers, chosen once after GTK opened it.
struct DesktopRoute {
  std::string name;  // "layer-shell", "X11 desktop window", ...
  DesktopSurfaceMaker make;
  std::string loss;  // what the person loses on this route; empty: nothing
};

}  // namespace kelpo::desktop
