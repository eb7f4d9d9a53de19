#pragma once

// The "click" action of the widget's accessible objects: it opens a link as
// a pointer click on it would.

#include <string>

#include "desktop/accessibility/element_accessible.h"

namespace kelpo::desktop {

inline constexpr const char* clickActionName = "click";
inline constexpr const char* clickActionDescription = "Ouvre le lien";

// Opens `url` with `openLink` from the main loop, after the assistive
// technology's request has been answered: the opener may start a program,
// and the request must not wait for it.
void openLinkSoon(std::string url, AccessibleLinkOpener openLink);

}  // namespace kelpo::desktop
