#include "desktop/surfaces/x11_desktop_surface.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <gdk/gdkx.h>

#include <cmath>
#include <memory>
#include <span>
#include <string_view>

#include "desktop/surfaces/monitor_choice.h"
#include "desktop/surfaces/x11_stacking_rules.h"

namespace kelpo::desktop {
namespace {

struct XFreer {
  void operator()(unsigned char* data) const {
    if (data != nullptr) XFree(data);
  }
};

// A property of 32-bit items (windows, atoms), as Xlib hands them: longs.
struct LongsProperty {
  std::unique_ptr<unsigned char, XFreer> data;
  unsigned long count = 0;

  [[nodiscard]] std::span<const unsigned long> items() const {
    return {reinterpret_cast<const unsigned long*>(data.get()), count};
  }
};

[[nodiscard]] LongsProperty readLongs(Display* display, Window window, Atom property, Atom type) {
  Atom actualType = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  // A window that went away meanwhile is no error of ours.
  gdk_x11_display_error_trap_push(gdk_x11_lookup_xdisplay(display));
  const int status = XGetWindowProperty(display, window, property, 0, 4096, False, type,
                                        &actualType, &format, &count, &after, &data);
  gdk_x11_display_error_trap_pop_ignored(gdk_x11_lookup_xdisplay(display));
  LongsProperty result{std::unique_ptr<unsigned char, XFreer>(data), 0};
  if (status == Success && actualType == type && format == 32) result.count = count;
  return result;
}

[[nodiscard]] Atom atomOf(GdkDisplay* display, const char* name) {
  return gdk_x11_get_xatom_by_name_for_display(display, name);
}

[[nodiscard]] bool isDesktopType(GdkDisplay* display, Window window) {
  const LongsProperty types = readLongs(GDK_DISPLAY_XDISPLAY(display), window,
                                        atomOf(display, "_NET_WM_WINDOW_TYPE"), XA_ATOM);
  const Atom desktop = atomOf(display, "_NET_WM_WINDOW_TYPE_DESKTOP");
  for (const unsigned long type : types.items()) {
    if (type == desktop) return true;
  }
  return false;
}

// Asks the window manager to raise `window` within its layer, as a pager
// would: a plain XRaiseWindow from an unfocused program is ignored by some.
void raiseWithinLayer(GdkWindow* window) {
  GdkScreen* screen = gdk_window_get_screen(window);
  if (!gdk_x11_screen_supports_net_wm_hint(screen,
                                           gdk_atom_intern_static_string("_NET_RESTACK_WINDOW"))) {
    gdk_window_raise(window);
    return;
  }
  GdkDisplay* display = gdk_window_get_display(window);
  XEvent message{};
  message.xclient.type = ClientMessage;
  message.xclient.window = GDK_WINDOW_XID(window);
  message.xclient.message_type = atomOf(display, "_NET_RESTACK_WINDOW");
  message.xclient.format = 32;
  message.xclient.data.l[0] = 2;  // from a pager: honoured without focus rules
  message.xclient.data.l[1] = None;
  message.xclient.data.l[2] = Above;
  XSendEvent(GDK_DISPLAY_XDISPLAY(display), GDK_WINDOW_XID(gdk_screen_get_root_window(screen)),
             False, SubstructureRedirectMask | SubstructureNotifyMask, &message);
}

}  // namespace

X11DesktopSurface::~X11DesktopSurface() {
  if (window_ != nullptr) g_signal_handlers_disconnect_by_data(window_, this);
  if (root_ != nullptr) gdk_window_remove_filter(root_, &X11DesktopSurface::onRootEvent, this);
  if (busWait_) g_cancellable_cancel(busWait_.get());
  if (kwinToggles_ != 0) g_dbus_connection_signal_unsubscribe(bus_.get(), kwinToggles_);
}

void X11DesktopSurface::prepare(GtkWindow* window) {
  window_ = window;
  // Below every other window, on every workspace, out of the task bar.
  gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_DESKTOP);
  gtk_window_set_keep_below(window, TRUE);
  gtk_window_stick(window);
  g_signal_connect(window, "configure-event", G_CALLBACK(&X11DesktopSurface::onConfigured), this);
}

void X11DesktopSurface::place(GtkWindow* window, const WindowPlacement& where, ui::Size size) {
  where_ = where;
  size_ = size;
  GdkMonitor* monitor =
      chosenMonitor(gtk_widget_get_display(GTK_WIDGET(window)), where.effectiveMonitor());
  if (monitor == nullptr) return;
  // Work area and window positions are both in GDK's application pixels,
  // which are points at any scale.
  const ui::Rect frame = frameAt(where.effectivePlace(), size, workAreaOf(monitor));
  gtk_window_move(window, static_cast<int>(std::lround(frame.minX())),
                  static_cast<int>(std::lround(frame.minY())));
}

void X11DesktopSurface::shown(GtkWindow* window) {
  if (root_ != nullptr) {
    keepAboveOtherDesktops();
    return;
  }
  // The manager announces a new stacking order, and panels a new work area,
  // as properties of the root window.
  root_ = gdk_screen_get_root_window(gtk_widget_get_screen(GTK_WIDGET(window)));
  gdk_window_set_events(
      root_, static_cast<GdkEventMask>(gdk_window_get_events(root_) | GDK_PROPERTY_CHANGE_MASK));
  gdk_window_add_filter(root_, &X11DesktopSurface::onRootEvent, this);
  keepAboveOtherDesktops();
  // Joined when the bus answers: nothing here waits on it.
  busWait_.reset(g_cancellable_new());
  g_bus_get(G_BUS_TYPE_SESSION, busWait_.get(), &X11DesktopSurface::onSessionBus, this);
}

void X11DesktopSurface::onSessionBus(GObject*, GAsyncResult* result, gpointer self) {
  GError* failure = nullptr;
  ObjectHandle<GDBusConnection> bus(g_bus_get_finish(result, &failure));
  if (!bus) {
    // Cancelled (the surface is gone) or no session bus: nothing to follow.
    const ErrorHandle owned(failure);
    return;
  }
  auto& surface = *static_cast<X11DesktopSurface*>(self);
  surface.bus_ = std::move(bus);
  surface.kwinToggles_ = g_dbus_connection_signal_subscribe(
      surface.bus_.get(), "org.kde.KWin", "org.kde.kwin.Compositing", "compositingToggled",
      "/Compositor", nullptr, G_DBUS_SIGNAL_FLAGS_NONE, &X11DesktopSurface::onCompositingToggled,
      &surface, nullptr);
}

void X11DesktopSurface::onCompositingToggled(GDBusConnection*, const gchar*, const gchar*,
                                             const gchar*, const gchar*, GVariant*, gpointer self) {
  auto& surface = *static_cast<X11DesktopSurface*>(self);
  if (surface.window_ == nullptr) return;
  gtk_widget_queue_draw(GTK_WIDGET(surface.window_));
  // The signal comes over the bus, and may overtake the requests by which
  // KWin tracks the window's damage again: a frame drawn before those reach
  // the X server is never shown, and a still widget would stay missing. What
  // KWin answers over the X connection comes after them.
  surface.askManagerToAnswer();
}

// A configure request that changes nothing (the border is already none):
// the window manager answers every configure request with a synthetic
// ConfigureNotify, sent on its X connection after all it asked before.
void X11DesktopSurface::askManagerToAnswer() {
  GdkWindow* own = gtk_widget_get_window(GTK_WIDGET(window_));
  if (own == nullptr) return;  // not realized yet: it is drawn whole when mapped
  XWindowChanges changes{};
  changes.border_width = 0;
  XConfigureWindow(GDK_WINDOW_XDISPLAY(own), GDK_WINDOW_XID(own), CWBorderWidth, &changes);
  XFlush(GDK_WINDOW_XDISPLAY(own));
  redrawOnAnswer_ = true;
}

gboolean X11DesktopSurface::onConfigured(GtkWidget* window, GdkEventConfigure* event,
                                         gpointer self) {
  auto& surface = *static_cast<X11DesktopSurface*>(self);
  if (event->send_event != 0 && surface.redrawOnAnswer_) {
    surface.redrawOnAnswer_ = false;
    gtk_widget_queue_draw(window);
  }
  return FALSE;  // GTK follows the window's size and place as ever
}

GdkFilterReturn X11DesktopSurface::onRootEvent(GdkXEvent* event, GdkEvent*, gpointer self) {
  const auto* x = static_cast<const XEvent*>(event);
  if (x->type != PropertyNotify) return GDK_FILTER_CONTINUE;
  auto& surface = *static_cast<X11DesktopSurface*>(self);
  GdkDisplay* display = gdk_window_get_display(surface.root_);
  const Atom changed = x->xproperty.atom;
  if (changed == atomOf(display, "_NET_CLIENT_LIST_STACKING")) {
    surface.stackingChanged_ = true;
  } else if (changed == atomOf(display, "_NET_WORKAREA") ||
             std::string_view(gdk_x11_get_xatom_name_for_display(display, changed))
                 .starts_with("_GTK_WORKAREAS_D")) {
    surface.workAreaChanged_ = true;
  } else {
    return GDK_FILTER_CONTINUE;
  }
  if (!surface.settle_.active()) {
    surface.settle_ = SourceHandle(g_timeout_add(50, &X11DesktopSurface::onRootChanged, &surface));
  }
  return GDK_FILTER_CONTINUE;
}

gboolean X11DesktopSurface::onRootChanged(gpointer self) {
  auto& surface = *static_cast<X11DesktopSurface*>(self);
  surface.settle_.forget();
  if (surface.workAreaChanged_ && surface.where_) {
    surface.place(surface.window_, *surface.where_, surface.size_);
  }
  if (surface.stackingChanged_) surface.keepAboveOtherDesktops();
  surface.workAreaChanged_ = false;
  surface.stackingChanged_ = false;
  return G_SOURCE_REMOVE;
}

void X11DesktopSurface::keepAboveOtherDesktops() const {
  GdkWindow* own = gtk_widget_get_window(GTK_WIDGET(window_));
  if (own == nullptr || root_ == nullptr) return;
  GdkDisplay* display = gdk_window_get_display(own);
  const LongsProperty stacking = readLongs(GDK_DISPLAY_XDISPLAY(display), GDK_WINDOW_XID(root_),
                                           atomOf(display, "_NET_CLIENT_LIST_STACKING"), XA_WINDOW);
  // The host's other instances are desktop windows too: leaving them out
  // keeps two instances from raising each other for ever.
  const auto isForeignDesktop = [display](X11WindowId window) {
    return gdk_x11_window_lookup_for_display(display, window) == nullptr &&
           isDesktopType(display, window);
  };
  if (foreignDesktopAbove(stacking.items(), GDK_WINDOW_XID(own), isForeignDesktop)) {
    raiseWithinLayer(own);
  }
}

// A desktop window never takes the focus, so during a drag, which holds the
// pointer by the press's implicit grab, the keys would go to the focused
// window: the keyboard is grabbed for the drag's length. Only the keyboard
// is let go after, so that a drag put back by Escape keeps the pointer
// until its button is released.
void X11DesktopSurface::holdKeys(GtkWindow* window, bool held) {
  GdkWindow* surface = gtk_widget_get_window(GTK_WIDGET(window));
  if (surface == nullptr) return;
  GdkSeat* seat = gdk_display_get_default_seat(gdk_window_get_display(surface));
  if (held) {
    // Refused while another program holds the keyboard: the drag goes on,
    // without Escape.
    gdk_seat_grab(seat, surface, GDK_SEAT_CAPABILITY_KEYBOARD, FALSE, nullptr, nullptr, nullptr,
                  nullptr);
    return;
  }
  GdkDevice* keyboard = gdk_seat_get_keyboard(seat);
  if (keyboard == nullptr) return;
  // gdk_seat_ungrab would also end the pointer's grab; the keyboard's own
  // ungrab is deprecated, not replaced.
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  gdk_device_ungrab(keyboard, GDK_CURRENT_TIME);
  G_GNUC_END_IGNORE_DEPRECATIONS
}

// The request comes from the accessibility bus, not from an X event: its
// time is the server's now, as GTK's own accessible does. Without it the
// manager would compare the last time a person used the widget with the
// focused window's, and could refuse.
void X11DesktopSurface::takeFocus(GtkWindow* window) {
  GdkWindow* surface = gtk_widget_get_window(GTK_WIDGET(window));
  if (surface == nullptr) return;
  gtk_window_present_with_time(window, gdk_x11_get_server_time(surface));
}

bool X11DesktopSurface::blendsAlpha(GtkWidget* window) const {
  GdkScreen* screen = gtk_widget_get_screen(window);
  if (!gdk_screen_is_composited(screen)) return false;
  const char* manager = gdk_x11_screen_get_window_manager_name(screen);
  return !paintsDesktopWindowsOpaque(manager != nullptr ? manager : "");
}

std::string X11DesktopSurface::describe(GtkWindow* window) const {
  gint x = 0;
  gint y = 0;
  gtk_window_get_position(window, &x, &y);
  return "as an X11 desktop window" + std::string(throughXWayland_ ? " through XWayland" : "") +
         " at " + std::to_string(x) + "," + std::to_string(y);
}

}  // namespace kelpo::desktop
