#pragma once

// Which of GDK's backends the host opens its display with. A Wayland
// compositor without layer-shell (GNOME's mutter) treats the widget as an
// ordinary application window; through XWayland the same compositor keeps an
// X11 desktop window below everything, on every workspace, out of the task
// switcher. So that route wins when both displays are there.

#include <string>
#include <string_view>

namespace kelpo::desktop {

struct DisplayFacts {
  bool backendNamed = false;  // GDK_BACKEND is set: the person chose
  bool waylandAnswers = false;
  bool layerShellOffered = false;
  bool x11DisplayAnswers = false;  // DISPLAY names a server that accepts us
};

// The backend list for `gdk_set_allowed_backends`, or empty to leave the
// choice to GDK.
[[nodiscard]] std::string backendsFor(const DisplayFacts& facts);

// Whether an X display name is on this machine (":1", "unix:0"): the
// compositor's XWayland always is, and opening a remote one could wait on
// the network for minutes.
[[nodiscard]] bool isLocalXDisplay(std::string_view name);

// Reads the environment, asks the Wayland compositor, if one answers,
// whether it offers layer-shell, and, when it does not, whether the X display
// named in DISPLAY can be opened (a stale DISPLAY must not cost the widget
// its fallback window).
[[nodiscard]] DisplayFacts probeDisplays();

// Restricts GDK to the backend `backendsFor` names. Must run before GTK
// opens its display.
void chooseDisplayBackend();

}  // namespace kelpo::desktop
