#pragma once

// The accessible object of a widget window: the window as GTK describes it,
// with one child per accessibility element of the widget drawn in it, the
// "click" action of the widget's own link, and the keyboard focus, which
// only an assistive technology can put on it.

#include <atk/atk.h>
#include <glib-object.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "desktop/accessibility/element_accessible.h"
#include "engine/output/accessibility_dump.h"

namespace kelpo::desktop {

// The GType of that accessible, a GtkWindowAccessible; a window class names
// it as its accessible type.
[[nodiscard]] GType widgetAccessibleType();

// What the widget drawn in the window offers to assistive technologies now.
struct AccessibleWidget {
  std::vector<ui::AccessibilityElement> elements;  // in reading order
  std::optional<std::string> widgetURL;
  double pixelsPerPoint = 1;
  AccessibleLinkOpener openLink;
};

// Asks the window for the keyboard focus, on an assistive technology's
// request; true when the focus is on its way.
using AccessibleFocusRequest = std::function<bool()>;

// Lets assistive technologies put the focus on the window of `accessible`
// (of widgetAccessibleType()): it reads as focusable, as focused while the
// window is active, and its grab_focus asks `askFocus`. An empty request
// takes that back.
void offerFocus(AtkObject* accessible, AccessibleFocusRequest askFocus);

// Makes the children of `accessible` (of widgetAccessibleType()) follow
// `widget`: children kept in place are updated, extra ones removed, missing
// ones added, and AT-SPI is told of each change. Anything else is left
// alone.
void publishElements(AtkObject* accessible, AccessibleWidget widget);

}  // namespace kelpo::desktop
