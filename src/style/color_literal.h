#pragma once

#include <string_view>

#include "engine/views/color.h"

namespace kelpo {

// Reads a colour literal: "#RRGGBB" (opaque) or "rgba(r,g,b,a)" with r, g
// and b on a 0...255 scale and a on a 0...1 scale. Never fails: text that is
// not a number gives opaque black in the hex form and a zero component in
// the rgba form. An rgba literal with fewer than four numbers takes 0 for
// each missing one (so a missing alpha makes the colour transparent).
// Components are not clamped.
[[nodiscard]] ui::Rgba parseColorLiteral(std::string_view literal);

// A colour with a light and a dark variant, read from two literals (the
// light one first). It draws the light variant unless the scheme is dark.
[[nodiscard]] ui::Color adaptiveColor(std::string_view light, std::string_view dark);

// The same colour in both schemes.
[[nodiscard]] ui::Color fixedColor(std::string_view literal);

}  // namespace kelpo
