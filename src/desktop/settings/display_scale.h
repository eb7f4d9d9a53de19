#pragma once

// The scale GTK is told to draw at through GDK_SCALE, checked before GTK
// reads it: GTK takes any number, and one it cannot draw leaves the widget
// without a window (too large for the display server) or stops the host on
// an X error (below one). And the scale the desktop gave the monitor, which
// GTK 3 rounds up to a whole number to draw at: the host reports both.

#include <optional>
#include <string>
#include <vector>

namespace kelpo::desktop {

// Beyond this no screen exists, and a frame of the medium widget would
// take tens of megabytes; far beyond it (91) its window no longer fits
// the display server's largest size.
inline constexpr int largestDisplayScale = 16;

// Why the GDK_SCALE `value` cannot be drawn, in one line; nothing when it
// can, or when it is unset or empty (GTK's own scale then).
[[nodiscard]] std::optional<std::string> refusedDisplayScale(const char* value);

// A size in whole units: an output's mode in pixels, or its size in the
// desktop's logical units.
struct OutputExtent {
  int width = 0;
  int height = 0;
};

// The scale the desktop gave a Wayland output: its current mode's width in
// pixels over its logical width (xdg-output). `quarterTurned` when the
// output is rotated a quarter or three quarters, so that the mode's height
// lies along the logical width. Nothing when a size is missing or the two
// make no scale a screen can have. Kept to the 120ths the compositors
// scale in, so that a logical width rounded to whole units still gives 1.5.
[[nodiscard]] std::optional<double> waylandMonitorScale(OutputExtent mode, OutputExtent logical,
                                                        bool quarterTurned);

// An output of a Wayland compositor: its connector name ("HDMI-A-1",
// "HEADLESS-2"), its current mode in pixels, and its size in the desktop's
// logical units (xdg-output; zero when the compositor does not offer it),
// from which the scale the desktop gave it follows.
struct WaylandOutput {
  std::string name;
  OutputExtent mode;
  OutputExtent logical;
  // Turned a quarter or three quarters: the mode's height lies across.
  bool quarterTurned = false;
};

// The scale of the monitor GTK counts as `monitor` of its `monitors`, from
// the compositor's `outputs` in the order it announced them, which is the
// order GTK made its monitors in. Nothing when the two counts differ (an
// output came or went between GTK's question and ours: the order no longer
// pairs them), for a monitor GTK does not have, and for an output that gives
// no scale.
[[nodiscard]] std::optional<double> waylandMonitorScaleAmong(
    const std::vector<WaylandOutput>& outputs, int monitor, int monitors);

// The scale the desktop gave the monitors of an X11 display (XWayland too):
// X11 has no scale per monitor, only what the session tells its programs
// through XSETTINGS, the font resolution Xft/DPI (`xftDpi`; nothing when no
// settings daemon gives one) over the standard 96, and the whole number GTK
// draws at (`drawn`, from GDK_SCALE or the daemon's window scale). GNOME's
// gsd-xsettings and KDE raise the resolution with the scale (144 at 1.5) and
// draw at its whole part; a session that sets GDK_SCALE=2 alone still shows
// at 2: the larger of the two stands. (A resolution raised for larger text,
// not for the monitor, reads as a scale too: X11 does not tell them apart.)
[[nodiscard]] double x11MonitorScale(int drawn, std::optional<double> xftDpi);

// The host's words for the scale: "scale 2" when the monitor's scale is the
// one GTK draws at, "monitor scale 1.5, drawn at 2" when GTK 3, which draws
// at whole numbers only, draws at another one (and the compositor shrinks the
// drawing), "drawn at 2, monitor scale unknown" when the compositor did not
// tell it: the drawing scale alone would read as the monitor's.
[[nodiscard]] std::string describeScale(std::optional<double> monitor, int drawn);

}  // namespace kelpo::desktop
