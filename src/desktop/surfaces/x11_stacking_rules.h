#pragma once

// What an X11 desktop window has to do about the window manager and the
// other programs' desktop windows, as rules on plain values.

#include <functional>
#include <span>
#include <string_view>

namespace kelpo::desktop {

using X11WindowId = unsigned long;

// Window managers whose compositor paints a DESKTOP-type window opaque,
// whatever its alpha: there only a shape leaves the desktop visible.
[[nodiscard]] bool paintsDesktopWindowsOpaque(std::string_view windowManagerName);

// True when, in the stacking order `bottomToTop`, a window of which
// `isForeignDesktop` holds (another program's desktop, such as a file
// manager's or plasmashell's) lies above `own`. All desktop windows share
// one layer, so the one mapped last covers the others.
[[nodiscard]] bool foreignDesktopAbove(std::span<const X11WindowId> bottomToTop, X11WindowId own,
                                       const std::function<bool(X11WindowId)>& isForeignDesktop);

}  // namespace kelpo::desktop
