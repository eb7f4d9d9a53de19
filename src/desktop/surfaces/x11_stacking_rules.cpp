#include "desktop/surfaces/x11_stacking_rules.h"

#include <algorithm>
#include <array>

namespace kelpo::desktop {

bool paintsDesktopWindowsOpaque(std::string_view windowManagerName) {
  // KWin (5.27 at least) draws desktop windows without blending.
  constexpr std::array<std::string_view, 1> opaque{"KWin"};
  return std::find(opaque.begin(), opaque.end(), windowManagerName) != opaque.end();
}

bool foreignDesktopAbove(std::span<const X11WindowId> bottomToTop, X11WindowId own,
                         const std::function<bool(X11WindowId)>& isForeignDesktop) {
  const auto at = std::find(bottomToTop.begin(), bottomToTop.end(), own);
  // A window the manager does not list yet has no place to keep.
  if (at == bottomToTop.end()) return false;
  return std::any_of(std::next(at), bottomToTop.end(), isForeignDesktop);
}

}  // namespace kelpo::desktop
