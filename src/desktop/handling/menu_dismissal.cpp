#include "desktop/handling/menu_dismissal.h"

namespace kelpo::desktop {

MenuHelp menuHelpFor(bool grabReachesEveryClient) {
  if (grabReachesEveryClient) return {};
  return {.catchClicks = true, .takeFocus = true};
}

void MenuDismissal::opened(bool focused) {
  open_ = true;
  held_ = focused;
}

bool MenuDismissal::focusChanged(bool focused) {
  if (!open_) return false;
  if (focused) {
    held_ = true;
    return false;
  }
  if (!held_) return false;
  // Closed here rather than when the menu says so: a second loss while the
  // menu is still on its way out asks nothing more.
  closed();
  return true;
}

bool MenuDismissal::escapeReleased() {
  if (!open_) return false;
  closed();
  return true;
}

void MenuDismissal::closed() {
  open_ = false;
  held_ = false;
}

}  // namespace kelpo::desktop
