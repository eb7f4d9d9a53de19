#pragma once

// The widget's own drawings of the system symbols it uses
// ("magnifyingglass", "clock", "checkmark"), sized by a font.

#include <cairo.h>

#include <string_view>

#include "platform/ui/text/font.h"
#include "platform/ui/views/color.h"
#include "platform/ui/views/geometry.h"
#include "platform/ui/views/paint.h"

namespace kelpo::ui {

// Symbols are square, 1.15 times the font size on a side: about the box of
// a symbol set beside text of that size, a little taller than its capitals.
inline constexpr double symbolSizeToFontSize = 1.15;

[[nodiscard]] Size symbolBoxSize(const Font& font);

// Whether `name` is one of the symbols drawn here.
[[nodiscard]] bool isKnownSymbol(std::string_view name);

// Strokes symbol `name`, centred in `box`, in `paint`, with round caps and a
// stroke that grows with the font's weight. Unknown names draw nothing.
void drawSymbol(cairo_t* cr, std::string_view name, const Rect& box, const Font& font,
                const Paint& paint, ColorScheme scheme);

}  // namespace kelpo::ui
