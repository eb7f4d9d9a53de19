#pragma once

// Drawing laid-out trees with Cairo. Callers hand in a Cairo context they
// made (render_output.h makes them for files and pixels); the Cairo type is
// only named here, never included.

#include <optional>

#include "engine/layout/layout_tree.h"
#include "engine/views/color.h"

extern "C" {
typedef struct _cairo cairo_t;  // NOLINT: Cairo's own declaration
}

namespace kelpo::ui {

class TextLayoutCache;

// The layers of a widget, bottom to top: its container background, then
// its content.
enum class WidgetLayers { all, background, content };

// Draws `widget` with its top-left corner at the user-space origin, one
// user unit per point: everything is clipped to the widget's outline (a
// rounded rectangle with continuous corners), the container background
// fills the outline, then the content draws on top. Outside the outline
// nothing is drawn. Drawing the background layer, then the content layer
// over it, gives the same pixels as drawing both.
void paintWidget(cairo_t* cr, const LaidOutWidget& widget, WidgetLayers layers = WidgetLayers::all);

// The same, laying texts out through `texts`: a painter that draws frame
// after frame keeps the layouts of one frame for the next.
void paintWidget(cairo_t* cr, const LaidOutWidget& widget, WidgetLayers layers,
                 TextLayoutCache& texts);

// Draws `node` and its subtree with its effects (offset, rotation, shadow,
// opacity, clip), colours resolved in `scheme`.
void paintNode(cairo_t* cr, const LaidOutNode& node, ColorScheme scheme);

// Whether `node` draws nothing but paints that each cover all of
// `outline`, alone or in plain groups (no offset, rotation, shadow,
// opacity or clip): such a background may be filled piece by piece.
[[nodiscard]] bool coversOutlineWithPaints(const LaidOutNode& node, const Rect& outline);

// Where `node` and its subtree may draw, in the coordinates its parent
// draws in (frames, strokes, shadows, moved by offsets; a rotated node
// counts the circle around its corners). Empty when it draws nowhere.
[[nodiscard]] std::optional<Rect> drawnArea(const LaidOutNode& node);

// What a shadow's drawing reads of its subtree beyond where it lands: the
// blur's reach, in points.
[[nodiscard]] double shadowReach(const Shadow& shadow);

// Shadows are Gaussian blurs whose standard deviation is half the shadow's
// radius: a shadow's radius spans about two standard deviations.
inline constexpr double shadowSigmaPerRadius = 0.5;

}  // namespace kelpo::ui
