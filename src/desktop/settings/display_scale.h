#pragma once

// The scale GTK is told to draw at through GDK_SCALE, checked before GTK
// reads it: GTK takes any number, and one it cannot draw leaves the widget
// without a window (too large for the display server) or stops the host on
// an X error (below one).

#include <optional>
#include <string>

namespace kelpo::desktop {

// Beyond this no screen exists, and a frame of the medium widget would
// take tens of megabytes; far beyond it (91) its window no longer fits
// the display server's largest size.
inline constexpr int largestDisplayScale = 16;

// Why the GDK_SCALE `value` cannot be drawn, in one line; nothing when it
// can, or when it is unset or empty (GTK's own scale then).
[[nodiscard]] std::optional<std::string> refusedDisplayScale(const char* value);

}  // namespace kelpo::desktop
