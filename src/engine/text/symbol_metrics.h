#pragma once

// The system symbols the widget draws ("magnifyingglass", "clock",
// "checkmark") as far as measuring needs them: which names exist and the
// box one takes beside text. Drawing traces their outlines (symbols.h).

#include <optional>
#include <string_view>

#include "engine/views/font.h"
#include "engine/views/geometry.h"

namespace kelpo::ui {

enum class SymbolShape { magnifyingGlass, clock, checkmark };

// The symbol called `name`; nothing for a name the widget does not draw.
[[nodiscard]] std::optional<SymbolShape> symbolNamed(std::string_view name);

// Symbols are square, 1.15 times the font size on a side: about the box of
// a symbol set beside text of that size, a little taller than its capitals.
inline constexpr double symbolSizeToFontSize = 1.15;

[[nodiscard]] Size symbolBoxSize(const Font& font);

}  // namespace kelpo::ui
