#pragma once

// One widget instance on the desktop: an undecorated window that shows the
// frames of its view host, animates while something moves, and turns the
// pointer into hover and link events. Where it sits and how it stacks is its
// desktop surface's.

#include <gtk/gtk.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "desktop/assisted_focus.h"
#include "desktop/handling/pointer_gesture.h"
#include "desktop/host_report.h"
#include "desktop/instance_menu.h"
#include "desktop/surfaces/desktop_surface.h"
#include "desktop/surfaces/drag_overlay.h"
#include "desktop/surfaces/monitor_scale.h"
#include "desktop/widget_source.h"
#include "engine/drawing/cairo_handles.h"
#include "engine/drawing/live_frame_painter.h"
#include "engine/layout/layout_tree.h"
#include "engine/layout/view_host.h"
#include "engine/text/text_layout.h"

namespace kelpo::desktop {

struct EdgeColor {
  double red = 1;
  double green = 1;
  double blue = 1;
};

// What a person does to an instance that the host decides on.
struct InstanceEvents {
  // The menu's state when it opens, and what was chosen in it.
  std::function<MenuState()> menuState;
  MenuChoice menuChosen;
  // Dropped after a drag: its new place, on the monitor named.
  std::function<void(const InstancePlace& place, const std::string& monitor)> moved;
};

class WidgetWindow {
 public:
  using LinkOpener = std::function<void(const std::string& url)>;

  // `measurer` must outlive the window.
  WidgetWindow(GtkApplication* application, WindowPlacement placement,
               std::unique_ptr<DesktopSurface> surface, const ui::TextMeasurer& measurer,
               LinkOpener openLink, const HostReport& report, InstanceEvents events);
  WidgetWindow(const WidgetWindow&) = delete;
  WidgetWindow& operator=(const WidgetWindow&) = delete;
  ~WidgetWindow();

  // New content from a timeline request: drawn at once; it appears anew.
  void show(TimelineAnswer answer, ui::ColorScheme scheme, bool reduceMotion);
  // The same content in another appearance: only a new frame.
  void setColorScheme(ui::ColorScheme scheme);
  void setPlacementOffset(double offsetAlongEdge);
  // A place and monitor of its own, or none: stacked at the host's corner.
  void setPlace(const std::optional<InstancePlace>& place,
                const std::optional<std::string>& monitor);
  // What a person does to it, told to the host.
  void setEvents(InstanceEvents events) { events_ = std::move(events); }
  // Its frame in the desktop's points and its monitor's work area.
  [[nodiscard]] std::optional<ui::Rect> frame() const;
  [[nodiscard]] std::optional<ui::Rect> workArea() const;
  // Its frame at another size, where its place puts it; and that place,
  // its own or the one it takes in the stack at the host's corner.
  [[nodiscard]] std::optional<ui::Rect> frameAtSize(ui::Size size) const;
  [[nodiscard]] InstancePlace shownPlace() const { return placement_.effectivePlace(); }
  // The link a click on the widget's background opens, once it has content.
  [[nodiscard]] std::optional<std::string> widgetLink() const;

  // The widget's size in points, once it has content.
  [[nodiscard]] std::optional<ui::Size> size() const;

 private:
  static gboolean onDraw(GtkWidget*, cairo_t* cr, gpointer self);
  static gboolean onMotion(GtkWidget*, GdkEventMotion* event, gpointer self);
  static gboolean onEnter(GtkWidget*, GdkEventCrossing* event, gpointer self);
  static gboolean onLeave(GtkWidget*, GdkEventCrossing* event, gpointer self);
  static gboolean onButtonPress(GtkWidget*, GdkEventButton* event, gpointer self);
  static gboolean onButtonRelease(GtkWidget*, GdkEventButton* event, gpointer self);
  static gboolean onTick(GtkWidget*, GdkFrameClock* clock, gpointer self);
  static gboolean onKeyPress(GtkWidget*, GdkEventKey* event, gpointer self);
  static gboolean onGrabBroken(GtkWidget*, GdkEventGrabBroken*, gpointer self);
  static gboolean onPopupMenu(GtkWidget*, gpointer self);
  static void onScaleChanged(GObject*, GParamSpec*, gpointer self);
  static void onScreenChanged(GtkWidget*, GdkScreen*, gpointer self);
  static void onCompositedChanged(GdkScreen*, gpointer self);
  static void onMapped(GtkWidget*, gpointer self);
  static void onMonitorsChanged(GdkDisplay*, GdkMonitor*, gpointer self);
  static gboolean onDelete(GtkWidget*, GdkEvent*, gpointer self);

  void setUpSurface();
  void place();
  void renderFrame();
  // Draws `frame` into the kept pixels (made anew when missing or of
  // another size); the device pixels drawn again, or nothing when no image
  // could be made.
  [[nodiscard]] std::optional<ui::PixelRect> paintPixels(const ui::LaidOutWidget& frame, int scale);
  // The last frame's pixels, drawn again if they were let go; false before
  // the first frame.
  [[nodiscard]] bool holdPixels();
  void letPixelsGoWhenStill();
  void updateShape();
  void announce();
  void followMotion();
  void pointerAt(double x, double y);
  void openMenu(const GdkEvent* trigger);
  // What a person does, as the gesture sees it; `trigger` opens the menu.
  void handle(const gesture::Event& event, const GdkEvent* trigger = nullptr);
  void apply(const gesture::Outcome& outcome, const GdkEvent* trigger);
  void holdKeysWhileDragging();
  // The monitor under `pointer` (in the desktop's layout, also where it is
  // only counted from the widget's own place), else the instance's own.
  [[nodiscard]] GdkMonitor* monitorAt(std::optional<ui::Point> pointer) const;
  void dragTo(const ui::Rect& frame, ui::Point pointer, bool dropped);
  // A surface that stays while held shows its image under the pointer on
  // an overlay, and none of its own, until it is dropped and drawn anew.
  void showDragImage(const ui::Rect& frame, ui::Point pointer);
  void endDragImage();
  static gboolean onDragImageDone(gpointer self);
  [[nodiscard]] ui::Point desktopPoint(double x, double y, double xRoot, double yRoot) const;
  [[nodiscard]] double secondsSinceAppear() const;
  [[nodiscard]] int scaleFactor() const;

  GtkWidget* window_ = nullptr;  // owned by GTK's toplevel list until destroyed here
  WindowPlacement placement_;
  std::unique_ptr<DesktopSurface> surface_;
  const ui::TextMeasurer& measurer_;
  LinkOpener openLink_;
  InstanceEvents events_;
  // Told once, when the first frame is on screen, what the window is and
  // where; with each frame its time, when measured.
  const HostReport& report_;
  GdkScreen* screen_ = nullptr;    // followed for compositors coming and going
  GdkDisplay* display_ = nullptr;  // followed for monitors coming and going
  bool blends_ = false;            // alpha is blended; else the outline is a shape
  // The compositor closed the window's surface (its output went away): it
  // is mapped anew once its monitors change.
  bool closedByCompositor_ = false;

  std::unique_ptr<ui::ViewHost> host_;
  gint64 appearedAt_ = 0;  // monotonic microseconds
  std::optional<ui::LaidOutWidget> frame_;
  ui::SurfaceHandle pixels_;  // the last frame while something moves, drawn again where it changes
  ui::LiveFramePainter painter_;
  std::optional<ui::Size> shapedFor_;
  int shapedScale_ = 0;
  bool shapedBlending_ = false;
  guint tick_ = 0;
  PointerGesture gesture_;
  // The place and monitor before the press, given back if Escape calls the
  // drag off: also none of its own, stacked at the corner.
  std::optional<InstancePlace> placeBeforePress_;
  std::optional<std::string> monitorBeforePress_;
  bool holdsKeys_ = false;
  // Where the widget was at the last press: a surface that cannot tell its
  // screen position stays there while held, so its pointer is counted from it.
  ui::Point pressedOrigin_;
  std::unique_ptr<DragOverlay> dragImage_;
  bool dragImageEnding_ = false;  // goes once the surface drew at its new place
  guint dragImageDone_ = 0;
  std::unique_ptr<InstanceMenu> menu_;
  std::unique_ptr<AssistedFocus> focus_;  // made once the window has its surface's role
  bool announced_ = false;
  std::unique_ptr<MonitorScaleQuestion> scaleAsked_;  // for the first frame's report
  EdgeColor edgeColor_;
};

}  // namespace kelpo::desktop
