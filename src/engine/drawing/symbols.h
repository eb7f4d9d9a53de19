#pragma once

// The widget's own drawings of the system symbols it uses
// ("magnifyingglass", "clock", "checkmark"), sized by a font. Which names
// exist and how large they are is the text stage's (symbol_metrics.h).

#include <cairo.h>

#include <string_view>

#include "engine/text/symbol_metrics.h"
#include "engine/views/color.h"
#include "engine/views/font.h"
#include "engine/views/geometry.h"
#include "engine/views/paint.h"

namespace kelpo::ui {

// Strokes symbol `name`, centred in `box`, in `paint`, with round caps and a
// stroke that grows with the font's weight. Unknown names draw nothing.
void drawSymbol(cairo_t* cr, std::string_view name, const Rect& box, const Font& font,
                const Paint& paint, ColorScheme scheme);

}  // namespace kelpo::ui
