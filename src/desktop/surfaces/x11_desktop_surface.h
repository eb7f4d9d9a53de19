#pragma once

// An X11 window of type DESKTOP: every window manager keeps it below
// ordinary windows, on every workspace and out of the task switcher, and
// gnome-shell does so for XWayland clients too. Placed in the monitor's work
// area; kept above other programs' desktop windows mapped after it; shaped
// where the compositor will not blend its alpha (none running, or KWin);
// painted whole again when KWin resumes compositing, which keeps the
// compositing selection while suspended and, on resuming, shows only what is
// drawn after it tracks the window again.

#include <gio/gio.h>

#include <optional>

#include "base/glib/glib_handles.h"
#include "desktop/surfaces/desktop_surface.h"

namespace kelpo::desktop {

class X11DesktopSurface final : public DesktopSurface {
 public:
  explicit X11DesktopSurface(bool throughXWayland) : throughXWayland_(throughXWayland) {}
  ~X11DesktopSurface() override;

  void prepare(GtkWindow* window) override;
  void place(GtkWindow* window, const WindowPlacement& where, ui::Size size) override;
  void shown(GtkWindow* window) override;
  [[nodiscard]] bool blendsAlpha(GtkWidget* window) const override;
  void holdKeys(GtkWindow* window, bool held) override;
  void takeFocus(GtkWindow* window) override;
  [[nodiscard]] bool knowsScreenPosition() const override { return true; }
  [[nodiscard]] bool grabReachesEveryClient() const override { return !throughXWayland_; }
  [[nodiscard]] std::string describe(GtkWindow* window) const override;

 private:
  static GdkFilterReturn onRootEvent(GdkXEvent* event, GdkEvent*, gpointer self);
  static gboolean onRootChanged(gpointer self);
  static void onSessionBus(GObject*, GAsyncResult* result, gpointer self);
  static void onCompositingToggled(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                                   const gchar*, GVariant*, gpointer self);
  static gboolean onConfigured(GtkWidget*, GdkEventConfigure* event, gpointer self);
  void askManagerToAnswer();
  void keepAboveOtherDesktops() const;

  bool throughXWayland_;
  GtkWindow* window_ = nullptr;  // the widget window's, which outlives this
  GdkWindow* root_ = nullptr;    // filtered while set
  std::optional<WindowPlacement> where_;
  ui::Size size_;
  bool stackingChanged_ = false;
  bool workAreaChanged_ = false;
  SourceHandle settle_;  // one look at the root's changes, once they stop coming
  ObjectHandle<GCancellable> busWait_;
  ObjectHandle<GDBusConnection> bus_;
  guint kwinToggles_ = 0;        // subscription on bus_
  bool redrawOnAnswer_ = false;  // a whole frame is due once KWin answers
};

}  // namespace kelpo::desktop
