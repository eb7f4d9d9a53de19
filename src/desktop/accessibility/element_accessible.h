#pragma once

// One accessible object of the widget: what a screen reader reads of one
// accessibility element of the laid-out views (its label as the name, its
// value as the description, its role, its place on the screen), and the
// "click" action of the link around it.

#include <atk/atk.h>

#include <functional>
#include <string>

#include "desktop/accessibility/object_ref.h"
#include "engine/output/accessibility_dump.h"

namespace kelpo::desktop {

using AccessibleLinkOpener = std::function<void(const std::string& url)>;

// Where an element's frame lies: the widget it is drawn in, and how many
// GDK logical pixels one widget point takes.
struct ElementPlacement {
  int indexInParent = 0;
  double pixelsPerPoint = 1;
  AccessibleLinkOpener openLink;
};

// A new accessible object for `element`, a child of `parent` (the widget's
// own accessible, which must be a GtkAccessible of the widget drawing it).
[[nodiscard]] ObjectRef<AtkObject> makeElementAccessible(AtkObject* parent,
                                                         const ui::AccessibilityElement& element,
                                                         ElementPlacement placement);

// Gives `accessible` (made by makeElementAccessible) a new element and
// tells assistive technologies what changed: name, description, role,
// bounds. Nothing is sent for what stays the same.
void updateElementAccessible(AtkObject* accessible, const ui::AccessibilityElement& element,
                             ElementPlacement placement);

}  // namespace kelpo::desktop
