#include "desktop/widget_window.h"

#include <malloc.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <iostream>
#include <sstream>
#include <type_traits>
#include <utility>
#include <variant>

#include "desktop/accessibility/accessible_widget_window.h"
#include "desktop/handling/widget_keys.h"
#include "desktop/settings/display_scale.h"
#include "desktop/surfaces/monitor_choice.h"
#include "desktop/surfaces/monitor_scale.h"
#include "engine/drawing/painter.h"
#include "engine/output/hit_testing.h"

namespace kelpo::desktop {
namespace {

// The colour just inside the middle of the top edge, where the background
// is opaque.
[[nodiscard]] EdgeColor edgeColorOf(cairo_surface_t* pixels) {
  const int width = cairo_image_surface_get_width(pixels);
  const int height = cairo_image_surface_get_height(pixels);
  const int stride = cairo_image_surface_get_stride(pixels);
  const unsigned char* data = cairo_image_surface_get_data(pixels);
  if (data == nullptr || width < 1 || height < 4) return {};
  std::uint32_t word = 0;
  std::memcpy(
      &word,
      data + static_cast<std::ptrdiff_t>(3) * stride + static_cast<std::ptrdiff_t>(width / 2) * 4,
      4);
  const double alpha = static_cast<double>(word >> 24) / 255;
  if (alpha <= 0) return {};
  const auto channel = [&](int shift) {
    return static_cast<double>((word >> shift) & 0xFF) / 255 / alpha;
  };
  return {channel(16), channel(8), channel(0)};
}

[[nodiscard]] double threadCpuMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// GTK's drag threshold, in points: how far a press moves before it drags.
[[nodiscard]] double dragThreshold() {
  gint threshold = 8;
  g_object_get(gtk_settings_get_default(), "gtk-dnd-drag-threshold", &threshold, nullptr);
  return std::max(1, threshold);
}

[[nodiscard]] WidgetKey widgetKey(guint keyval) {
  switch (keyval) {
    case GDK_KEY_Escape:
      return WidgetKey::escape;
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
    case GDK_KEY_ISO_Enter:
    case GDK_KEY_space:
    case GDK_KEY_KP_Space:
      return WidgetKey::activate;
    default:
      return WidgetKey::other;
  }
}

[[nodiscard]] int pointsToPixels(double points) {
  return static_cast<int>(std::lround(points));
}

}  // namespace

WidgetWindow::WidgetWindow(GtkApplication* application, WindowPlacement placement,
                           std::unique_ptr<DesktopSurface> surface,
                           const ui::TextMeasurer& measurer, LinkOpener openLink,
                           const HostReport& report, InstanceEvents events)
    : window_(newAccessibleWidgetWindow(application)),
      placement_(std::move(placement)),
      surface_(std::move(surface)),
      measurer_(measurer),
      openLink_(std::move(openLink)),
      events_(std::move(events)),
      report_(report),
      screen_(gtk_widget_get_screen(window_)),
      display_(gtk_widget_get_display(window_)),
      gesture_(dragThreshold()) {
  GtkWindow* window = GTK_WINDOW(window_);
  gtk_window_set_title(window, "kelpo");
  gtk_window_set_decorated(window, FALSE);
  gtk_window_set_resizable(window, FALSE);
  gtk_window_set_accept_focus(window, FALSE);
  gtk_window_set_focus_on_map(window, FALSE);
  gtk_window_set_skip_taskbar_hint(window, TRUE);
  gtk_window_set_skip_pager_hint(window, TRUE);
  gtk_widget_set_app_paintable(window_, TRUE);
  gtk_widget_add_events(window_, GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK |
                                     GDK_BUTTON_RELEASE_MASK | GDK_ENTER_NOTIFY_MASK |
                                     GDK_LEAVE_NOTIFY_MASK | GDK_KEY_PRESS_MASK);

  surface_->prepare(window);
  setUpSurface();
  focus_ = std::make_unique<AssistedFocus>(window, *surface_);

  g_signal_connect(window_, "draw", G_CALLBACK(&WidgetWindow::onDraw), this);
  g_signal_connect(window_, "motion-notify-event", G_CALLBACK(&WidgetWindow::onMotion), this);
  g_signal_connect(window_, "enter-notify-event", G_CALLBACK(&WidgetWindow::onEnter), this);
  g_signal_connect(window_, "leave-notify-event", G_CALLBACK(&WidgetWindow::onLeave), this);
  g_signal_connect(window_, "button-press-event", G_CALLBACK(&WidgetWindow::onButtonPress), this);
  g_signal_connect(window_, "button-release-event", G_CALLBACK(&WidgetWindow::onButtonRelease),
                   this);
  g_signal_connect(window_, "notify::scale-factor", G_CALLBACK(&WidgetWindow::onScaleChanged),
                   this);
  g_signal_connect(window_, "screen-changed", G_CALLBACK(&WidgetWindow::onScreenChanged), this);
  g_signal_connect(window_, "map", G_CALLBACK(&WidgetWindow::onMapped), this);
  // Escape while dragging, the keyboard being held for the drag; Enter once
  // a screen reader has put the focus here.
  g_signal_connect(window_, "key-press-event", G_CALLBACK(&WidgetWindow::onKeyPress), this);
  // Another program took the pointer or the keyboard: no release will come.
  g_signal_connect(window_, "grab-broken-event", G_CALLBACK(&WidgetWindow::onGrabBroken), this);
  // The Menu key and Shift+F10, when a screen reader has put the focus here.
  g_signal_connect(window_, "popup-menu", G_CALLBACK(&WidgetWindow::onPopupMenu), this);
  // A compositor that starts or stops while the widget shows (picom, KWin
  // suspending compositing) changes what its corners need.
  g_signal_connect(screen_, "composited-changed", G_CALLBACK(&WidgetWindow::onCompositedChanged),
                   this);
  g_signal_connect(window_, "delete-event", G_CALLBACK(&WidgetWindow::onDelete), this);
  g_signal_connect(display_, "monitor-added", G_CALLBACK(&WidgetWindow::onMonitorsChanged), this);
  g_signal_connect(display_, "monitor-removed", G_CALLBACK(&WidgetWindow::onMonitorsChanged), this);
}

WidgetWindow::~WidgetWindow() {
  if (tick_ != 0) gtk_widget_remove_tick_callback(window_, tick_);
  if (dragImageDone_ != 0) g_source_remove(dragImageDone_);
  dragImage_.reset();
  if (holdsKeys_) surface_->holdKeys(GTK_WINDOW(window_), false);
  g_signal_handlers_disconnect_by_data(screen_, this);
  g_signal_handlers_disconnect_by_data(display_, this);
  g_signal_handlers_disconnect_by_data(window_, this);
  menu_.reset();
  focus_.reset();
  scaleAsked_.reset();
  surface_.reset();
  gtk_widget_destroy(window_);
}

void WidgetWindow::setUpSurface() {
  // Transparent corners need an alpha channel and a compositor that blends
  // it; without them only the widget's outline is kept, by a shape. An
  // alpha window without a compositor is drawn through the X server's own
  // redirection, which shows black where the shape should leave the desktop:
  // so the visual follows the compositor, and a window whose visual no
  // longer fits is made again (a window's visual cannot change).
  GdkScreen* screen = gtk_widget_get_screen(window_);
  GdkVisual* rgba = gdk_screen_get_rgba_visual(screen);
  const bool composited = rgba != nullptr && gdk_screen_is_composited(screen);
  GdkVisual* wanted = composited ? rgba : gdk_screen_get_system_visual(screen);
  if (gtk_widget_get_visual(window_) != wanted) {
    const bool mapped = gtk_widget_get_mapped(window_);
    if (gtk_widget_get_realized(window_)) {
      gtk_widget_hide(window_);
      gtk_widget_unrealize(window_);
    }
    gtk_widget_set_visual(window_, wanted);
    if (mapped) {
      place();
      gtk_widget_show(window_);
    }
  }
  blends_ = composited && surface_->blendsAlpha(window_);
  shapedFor_.reset();
}

int WidgetWindow::scaleFactor() const {
  return std::max(1, gtk_widget_get_scale_factor(window_));
}

double WidgetWindow::secondsSinceAppear() const {
  return static_cast<double>(g_get_monotonic_time() - appearedAt_) / 1e6;
}

std::optional<ui::Size> WidgetWindow::size() const {
  if (!frame_) return std::nullopt;
  return frame_->size;
}

void WidgetWindow::show(TimelineAnswer answer, ui::ColorScheme scheme, bool reduceMotion) {
  answer.environment.colorScheme = scheme;
  answer.environment.accessibilityReduceMotion = reduceMotion;
  host_ = std::make_unique<ui::ViewHost>(std::move(answer.content), std::move(answer.environment),
                                         measurer_);
  appearedAt_ = g_get_monotonic_time();
  const std::optional<ui::Size> before = size();
  renderFrame();
  if (!frame_) return;
  gtk_widget_set_size_request(window_, pointsToPixels(frame_->size.width),
                              pointsToPixels(frame_->size.height));
  if (before && *before != frame_->size) handle(gesture::Resized{frame_->size});
  place();
  gtk_widget_show(window_);
  updateShape();
  followMotion();
}

void WidgetWindow::setColorScheme(ui::ColorScheme scheme) {
  if (!host_ || host_->environment().colorScheme == scheme) return;
  ui::Environment environment = host_->environment();
  environment.colorScheme = scheme;
  host_->setEnvironment(std::move(environment));
  renderFrame();
}

void WidgetWindow::setPlacementOffset(double offsetAlongEdge) {
  placement_.offsetAlongEdge = offsetAlongEdge;
  if (frame_) place();
}

void WidgetWindow::setPlace(const std::optional<InstancePlace>& place,
                            const std::optional<std::string>& monitor) {
  placement_.place = place;
  placement_.monitor = monitor;
  if (frame_) this->place();
}

std::optional<std::string> WidgetWindow::widgetLink() const {
  if (!frame_) return std::nullopt;
  return frame_->widgetURL;
}

void WidgetWindow::place() {
  if (frame_) surface_->place(GTK_WINDOW(window_), placement_, frame_->size);
}

void WidgetWindow::renderFrame() {
  if (!host_) return;
  const double began = threadCpuMilliseconds();
  ui::LaidOutWidget frame = host_->frameAt(secondsSinceAppear());
  const int scale = scaleFactor();
  const std::optional<ui::PixelRect> damage = paintPixels(frame, scale);
  if (!damage) return;
  // Still from this frame on: the painter's copy of the background would
  // only hold a window's worth of memory until something moves again.
  if (!host_->isMoving()) painter_.releaseCaches();
  frame_ = std::move(frame);
  publishAccessibleTree(window_, *frame_, openLink_);
  if (!damage->empty()) {
    // The damaged device pixels, widened to whole application pixels.
    const int left = damage->x / scale;
    const int top = damage->y / scale;
    const int right = (damage->x + damage->width + scale - 1) / scale;
    const int bottom = (damage->y + damage->height + scale - 1) / scale;
    gtk_widget_queue_draw_area(window_, left, top, right - left, bottom - top);
    if (dragImage_) dragImage_->imageChanged();
  }
  if (report_.frameTime) {
    // The processor time the frame took: on a busy machine the wall time
    // would also count the waits for a core.
    report_.frameTime("frame " + std::to_string(threadCpuMilliseconds() - began) + " ms at " +
                      std::to_string(g_get_monotonic_time()));
  }
}

// Drawn as `render` draws: into an image at the device's pixels, then
// handed to GTK at that scale, so the window shows the very same pixels.
// The image is kept from frame to frame, and the live painter draws again
// only what changed in it (the badge under its sheen).
std::optional<ui::PixelRect> WidgetWindow::paintPixels(const ui::LaidOutWidget& frame, int scale) {
  const int width = static_cast<int>(std::ceil(frame.size.width * scale - 1e-9));
  const int height = static_cast<int>(std::ceil(frame.size.height * scale - 1e-9));
  if (width < 1 || height < 1) return std::nullopt;
  if (!pixels_ || cairo_image_surface_get_width(pixels_.get()) != width ||
      cairo_image_surface_get_height(pixels_.get()) != height) {
    ui::SurfaceHandle fresh(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    if (cairo_surface_status(fresh.get()) != CAIRO_STATUS_SUCCESS) return std::nullopt;
    pixels_ = std::move(fresh);
    painter_.invalidate();
  }
  cairo_surface_set_device_scale(pixels_.get(), 1, 1);
  ui::PixelRect damage;
  {
    const ui::CairoHandle cr(cairo_create(pixels_.get()));
    damage = painter_.paintFrame(cr.get(), frame, scale);
  }
  cairo_surface_flush(pixels_.get());
  edgeColor_ = edgeColorOf(pixels_.get());
  cairo_surface_set_device_scale(pixels_.get(), scale, scale);
  return damage;
}

bool WidgetWindow::holdPixels() {
  if (pixels_) return true;
  return frame_ && paintPixels(*frame_, scaleFactor());
}

void WidgetWindow::letPixelsGoWhenStill() {
  // Still, and no drag image showing them: nothing draws into the pixels
  // until something moves, and a window asked to draw meanwhile (uncovered
  // on a desktop without a compositor) has them drawn anew from the frame.
  // Kept, they would hold a window's worth of memory all day.
  if (tick_ != 0 || dragImage_ || !host_ || host_->isMoving()) return;
  pixels_.reset();
  painter_.releaseCaches();
}

void WidgetWindow::updateShape() {
  if (!frame_ || !gtk_widget_get_realized(window_)) return;
  const int scale = scaleFactor();
  if (shapedFor_ && shapedFor_->width == frame_->size.width &&
      shapedFor_->height == frame_->size.height && shapedScale_ == scale &&
      shapedBlending_ == blends_) {
    return;
  }
  // The outline at one pixel per point: the region GDK wants is in
  // application pixels.
  const int width = pointsToPixels(frame_->size.width);
  const int height = pointsToPixels(frame_->size.height);
  const ui::SurfaceHandle outline(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
  {
    const ui::CairoHandle cr(cairo_create(outline.get()));
    ui::paintWidget(cr.get(), *frame_);
  }
  cairo_surface_flush(outline.get());
  cairo_region_t* region = gdk_cairo_region_create_from_surface(outline.get());
  // Clicks outside the outline go to what lies below; without a compositor
  // the outline is also all that is drawn.
  gtk_widget_input_shape_combine_region(window_, region);
  gtk_widget_shape_combine_region(window_, blends_ ? nullptr : region);
  cairo_region_destroy(region);
  shapedFor_ = frame_->size;
  shapedScale_ = scale;
  shapedBlending_ = blends_;
}

void WidgetWindow::followMotion() {
  if (host_ && host_->isMoving() && tick_ == 0) {
    tick_ = gtk_widget_add_tick_callback(window_, &WidgetWindow::onTick, this, nullptr);
  }
}

gboolean WidgetWindow::onTick(GtkWidget*, GdkFrameClock*, gpointer self) {
  auto& window = *static_cast<WidgetWindow*>(self);
  window.renderFrame();
  if (window.host_ && window.host_->isMoving()) return G_SOURCE_CONTINUE;
  // Still: no frame clock until something moves again.
  window.tick_ = 0;
  return G_SOURCE_REMOVE;
}

gboolean WidgetWindow::onDraw(GtkWidget*, cairo_t* cr, gpointer self) {
  auto& window = *static_cast<WidgetWindow*>(self);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  if (window.dragImageEnding_ && window.dragImageDone_ == 0) {
    // After this frame is committed, so that the widget never shows twice
    // or nowhere.
    window.dragImageDone_ = g_idle_add(&WidgetWindow::onDragImageDone, &window);
  }
  const bool leftToDragImage = window.dragImage_ && !window.dragImageEnding_;
  if (leftToDragImage || !window.holdPixels()) {
    cairo_set_source_rgba(cr, 0, 0, 0, 0);
    cairo_paint(cr);
  } else if (window.blends_) {
    cairo_set_source_surface(cr, window.pixels_.get(), 0, 0);
    cairo_paint(cr);
  } else {
    // Without a compositor the window is opaque and its shape is coarser
    // than the anti-aliased outline (whole logical pixels): what the shape
    // lets through of the edge is blended with the widget's own edge colour
    // rather than with black.
    cairo_set_source_rgb(cr, window.edgeColor_.red, window.edgeColor_.green,
                         window.edgeColor_.blue);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    cairo_set_source_surface(cr, window.pixels_.get(), 0, 0);
    cairo_paint(cr);
  }
  if (!window.announced_ && window.frame_) {
    window.announced_ = true;
    window.announce();
    // The first frame is out: what starting took and gave back (the theme's
    // parsing, the fonts' loading) returns to the system, not kept all day.
    malloc_trim(0);
  }
  window.letPixelsGoWhenStill();
  return TRUE;
}

void WidgetWindow::announce() {
  if (!report_.shown) return;
  std::ostringstream shown;
  shown << "shown " << frame_->size.width << "x" << frame_->size.height << " "
        << surface_->describe(GTK_WINDOW(window_)) << ", ";
  const std::string corners = blends_ ? ", corners blended" : ", corners shaped";
  // Said once the compositor has told the monitor's scale.
  scaleAsked_ = std::make_unique<MonitorScaleQuestion>(
      window_, [this, start = shown.str(), corners](std::optional<double> monitorScale) {
        report_.shown(start + describeScale(monitorScale, scaleFactor()) + corners);
      });
}

void WidgetWindow::pointerAt(double x, double y) {
  if (!host_) return;
  // While still, the host's clock stopped at the last frame.
  host_->advanceTo(secondsSinceAppear());
  host_->hover({x, y});
  if (host_->isMoving() && tick_ == 0) {
    renderFrame();
    followMotion();
  }
}

gboolean WidgetWindow::onMotion(GtkWidget*, GdkEventMotion* event, gpointer self) {
  auto& window = *static_cast<WidgetWindow*>(self);
  window.handle(gesture::Motion{
      window.desktopPoint(event->x, event->y, event->x_root, event->y_root),
      {event->x, event->y},
      (event->state & GDK_BUTTON1_MASK) != 0,
  });
  return TRUE;
}

gboolean WidgetWindow::onEnter(GtkWidget*, GdkEventCrossing* event, gpointer self) {
  static_cast<WidgetWindow*>(self)->handle(gesture::Enter{{event->x, event->y}});
  return TRUE;
}

gboolean WidgetWindow::onLeave(GtkWidget*, GdkEventCrossing*, gpointer self) {
  static_cast<WidgetWindow*>(self)->handle(gesture::Leave{});
  return TRUE;
}

gboolean WidgetWindow::onButtonPress(GtkWidget*, GdkEventButton* event, gpointer self) {
  auto& window = *static_cast<WidgetWindow*>(self);
  if (event->type != GDK_BUTTON_PRESS) return TRUE;
  if (event->button == GDK_BUTTON_SECONDARY) {
    window.handle(gesture::SecondaryPress{}, reinterpret_cast<const GdkEvent*>(event));
  } else if (event->button == GDK_BUTTON_PRIMARY) {
    const auto frame = window.frame();
    if (!frame) return TRUE;
    window.pressedOrigin_ = frame->origin;
    window.handle(gesture::PrimaryPress{
        window.desktopPoint(event->x, event->y, event->x_root, event->y_root), *frame});
    window.placeBeforePress_ = window.placement_.place;
    window.monitorBeforePress_ = window.placement_.monitor;
  }
  return TRUE;
}

gboolean WidgetWindow::onButtonRelease(GtkWidget*, GdkEventButton* event, gpointer self) {
  auto& window = *static_cast<WidgetWindow*>(self);
  if (event->button != GDK_BUTTON_PRIMARY) return TRUE;
  window.handle(gesture::PrimaryRelease{
      window.desktopPoint(event->x, event->y, event->x_root, event->y_root), {event->x, event->y}});
  return TRUE;
}

gboolean WidgetWindow::onKeyPress(GtkWidget*, GdkEventKey* event, gpointer self) {
  auto& window = *static_cast<WidgetWindow*>(self);
  switch (commandFor(widgetKey(event->keyval), window.gesture_.dragging())) {
    case KeyCommand::callOffDrag:
      window.handle(gesture::EscapeKey{});
      return TRUE;
    case KeyCommand::openWidgetLink:
      if (const auto link = window.widgetLink()) window.openLink_(*link);
      return TRUE;
    case KeyCommand::none:
      break;
  }
  return FALSE;
}

gboolean WidgetWindow::onGrabBroken(GtkWidget*, GdkEventGrabBroken*, gpointer self) {
  static_cast<WidgetWindow*>(self)->handle(gesture::GrabBroken{});
  return FALSE;
}

// The keyboard's secondary click: a drag under way is put down first.
gboolean WidgetWindow::onPopupMenu(GtkWidget*, gpointer self) {
  static_cast<WidgetWindow*>(self)->handle(gesture::SecondaryPress{});
  return TRUE;
}

void WidgetWindow::handle(const gesture::Event& event, const GdkEvent* trigger) {
  for (const gesture::Outcome& outcome : gesture_.handle(event)) apply(outcome, trigger);
  holdKeysWhileDragging();
}

void WidgetWindow::apply(const gesture::Outcome& outcome, const GdkEvent* trigger) {
  std::visit(
      [&]<typename Kind>(const Kind& what) {
        if constexpr (std::is_same_v<Kind, gesture::Hover>) {
          pointerAt(what.local.x, what.local.y);
        } else if constexpr (std::is_same_v<Kind, gesture::HoverEnded>) {
          if (host_) host_->hoverEnd();
        } else if constexpr (std::is_same_v<Kind, gesture::MoveTo>) {
          // A surface that cannot tell its place on screen stays until it is
          // dropped: while the button is held, sway gives the motions
          // relative to where the surface was pressed, other compositors
          // relative to where it is now, so once moved it could not tell
          // where the pointer is, and would run away from it.
          if (surface_->knowsScreenPosition()) {
            dragTo(what.frame, what.pointer, false);
          } else {
            showDragImage(what.frame, what.pointer);
          }
        } else if constexpr (std::is_same_v<Kind, gesture::DropAt>) {
          dragTo(what.frame, what.pointer, true);
          endDragImage();
        } else if constexpr (std::is_same_v<Kind, gesture::PutBack>) {
          setPlace(placeBeforePress_, monitorBeforePress_);
          endDragImage();
        } else if constexpr (std::is_same_v<Kind, gesture::ClickAt>) {
          if (!frame_) return;
          if (const auto link = ui::linkAt(*frame_, what.local)) openLink_(*link);
        } else if constexpr (std::is_same_v<Kind, gesture::OpenMenu>) {
          openMenu(trigger);
        }
      },
      outcome);
}

// Escape reaches the window only while it holds the keyboard: it never takes
// the focus, so as not to take it from the window a person types in.
void WidgetWindow::holdKeysWhileDragging() {
  const bool wanted = gesture_.dragging();
  if (wanted == holdsKeys_) return;
  surface_->holdKeys(GTK_WINDOW(window_), wanted);
  holdsKeys_ = wanted;
}

void WidgetWindow::openMenu(const GdkEvent* trigger) {
  if (!host_ || !host_->environment().phrases || !events_.menuState) return;
  // The menu is dark over a dark widget, light over a light one, in the
  // desktop's theme.
  const bool dark = host_->environment().colorScheme == ui::ColorScheme::dark;
  g_object_set(gtk_settings_get_default(), "gtk-application-prefer-dark-theme", dark, nullptr);
  if (menu_) {
    menu_->show(events_.menuState());
  } else {
    menu_ = std::make_unique<InstanceMenu>(window_, host_->environment().phrases,
                                           events_.menuState(), events_.menuChosen,
                                           menuHelpFor(surface_->grabReachesEveryClient()));
  }
  menu_->popUp(trigger);
}

GdkMonitor* WidgetWindow::monitorAt(std::optional<ui::Point> pointer) const {
  GdkDisplay* display = gtk_widget_get_display(window_);
  if (pointer) {
    if (GdkMonitor* under = monitorUnderPoint(display, *pointer)) return under;
  }
  return chosenMonitor(display, placement_.effectiveMonitor());
}

std::optional<ui::Rect> WidgetWindow::workArea() const {
  GdkMonitor* monitor = monitorAt(std::nullopt);
  if (monitor == nullptr) return std::nullopt;
  return workAreaOf(monitor);
}

std::optional<ui::Rect> WidgetWindow::frame() const {
  if (!frame_) return std::nullopt;
  return frameAtSize(frame_->size);
}

std::optional<ui::Rect> WidgetWindow::frameAtSize(ui::Size size) const {
  const auto area = workArea();
  if (!area) return std::nullopt;
  return frameAt(placement_.effectivePlace(), size, *area);
}

// The widget follows the pointer, snapping to the work area's edges and kept
// inside it; dropped, it keeps that place on the monitor under the pointer.
void WidgetWindow::dragTo(const ui::Rect& frame, ui::Point pointer, bool dropped) {
  GdkMonitor* monitor = monitorAt(pointer);
  if (monitor == nullptr) return;
  const InstancePlace place = placeOfDrop(frame, workAreaOf(monitor));
  const std::string name = monitorName(monitor);
  setPlace(place, name.empty() ? placement_.effectiveMonitor() : std::optional(name));
  if (dropped && events_.moved) events_.moved(place, name);
}

// The image is left to the overlay, not drawn twice: the widget seems to
// move, as it does where its surface can.
void WidgetWindow::showDragImage(const ui::Rect& frame, ui::Point pointer) {
  if (!surface_->overlaysOutputs() || !holdPixels()) return;
  GdkMonitor* own = monitorAt(std::nullopt);
  if (own == nullptr) return;
  if (!dragImage_ || dragImageEnding_) {
    if (dragImageDone_ != 0) g_source_remove(std::exchange(dragImageDone_, 0));
    dragImage_ = std::make_unique<DragOverlay>(own);
    dragImageEnding_ = false;
    gtk_widget_queue_draw(window_);
  }
  dragImage_->show(pixels_.get(), {frame, workAreaOf(own), monitorAt(pointer) == own, {}});
}

void WidgetWindow::endDragImage() {
  if (!dragImage_) return;
  dragImageEnding_ = true;
  gtk_widget_queue_draw(window_);
}

gboolean WidgetWindow::onDragImageDone(gpointer self) {
  auto& window = *static_cast<WidgetWindow*>(self);
  window.dragImageDone_ = 0;
  window.dragImageEnding_ = false;
  window.dragImage_.reset();
  window.letPixelsGoWhenStill();
  return G_SOURCE_REMOVE;
}

// The pointer in the desktop's coordinates. The X server tells where it is
// on the screen, also while the window catches up with a drag; a Wayland
// surface knows only where it was put, and stays there while it is held.
ui::Point WidgetWindow::desktopPoint(double x, double y, double xRoot, double yRoot) const {
  if (surface_->knowsScreenPosition()) return {xRoot, yRoot};
  return {pressedOrigin_.x + x, pressedOrigin_.y + y};
}

void WidgetWindow::onScaleChanged(GObject*, GParamSpec*, gpointer self) {
  auto& window = *static_cast<WidgetWindow*>(self);
  window.renderFrame();
  window.updateShape();
}

void WidgetWindow::onScreenChanged(GtkWidget*, GdkScreen*, gpointer self) {
  auto& window = *static_cast<WidgetWindow*>(self);
  window.setUpSurface();
  window.updateShape();
}

void WidgetWindow::onCompositedChanged(GdkScreen*, gpointer self) {
  auto& window = *static_cast<WidgetWindow*>(self);
  window.setUpSurface();
  window.updateShape();
  gtk_widget_queue_draw(window.window_);
}

// An output unplugged or turned off takes its monitor away: its widgets show
// on another until it comes back, and go back to it then. A layer surface
// whose output went away was closed by the compositor and is mapped anew.
void WidgetWindow::onMonitorsChanged(GdkDisplay*, GdkMonitor*, gpointer self) {
  auto& window = *static_cast<WidgetWindow*>(self);
  if (!window.frame_) return;
  window.place();
  if (std::exchange(window.closedByCompositor_, false) && gtk_widget_get_visible(window.window_)) {
    gtk_widget_hide(window.window_);
    window.place();
    gtk_widget_show(window.window_);
  }
}

// Only the host closes its windows: a compositor closes a layer surface
// whose output goes away, and the window waits for a monitor to show on.
gboolean WidgetWindow::onDelete(GtkWidget*, GdkEvent*, gpointer self) {
  static_cast<WidgetWindow*>(self)->closedByCompositor_ = true;
  return TRUE;
}

void WidgetWindow::onMapped(GtkWidget*, gpointer self) {
  auto& window = *static_cast<WidgetWindow*>(self);
  window.surface_->shown(GTK_WINDOW(window.window_));
}

}  // namespace kelpo::desktop
