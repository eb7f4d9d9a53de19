#pragma once

// Drawing laid-out trees with Cairo. Callers hand in a Cairo context they
// made (render_output.h makes them for files and pixels); the Cairo type is
// only named here, never included.

#include "platform/ui/layout/layout_tree.h"
#include "platform/ui/views/color.h"

extern "C" {
typedef struct _cairo cairo_t;  // NOLINT: Cairo's own declaration
}

namespace kelpo::ui {

// Draws `widget` with its top-left corner at the user-space origin, one
// user unit per point: everything is clipped to the widget's outline (a
// rounded rectangle with continuous corners), the container background
// fills the outline, then the content draws on top. Outside the outline
// nothing is drawn.
void paintWidget(cairo_t* cr, const LaidOutWidget& widget);

// Draws `node` and its subtree with its effects (offset, rotation, shadow,
// opacity, clip), colours resolved in `scheme`.
void paintNode(cairo_t* cr, const LaidOutNode& node, ColorScheme scheme);

// Shadows are Gaussian blurs whose standard deviation is half the shadow's
// radius, the platform's radius being about two standard deviations.
inline constexpr double shadowSigmaPerRadius = 0.5;

}  // namespace kelpo::ui
