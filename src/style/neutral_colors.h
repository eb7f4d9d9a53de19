#pragma once

#include "engine/views/color.h"

namespace kelpo {

// The neutral colours several views share, each an adaptive colour made
// once on first use and kept for the life of the process.

// Primary text: tile values, row titles, layout headings.
[[nodiscard]] const ui::Color& ink();
// Secondary text: tile labels, layout labels.
[[nodiscard]] const ui::Color& inkSecondary();
// Muted text and icons: the next-search line, row details.
[[nodiscard]] const ui::Color& inkTertiary();
// The fill behind a tile.
[[nodiscard]] const ui::Color& tileFill();
// The track of the week ring.
[[nodiscard]] const ui::Color& ringTrack();

}  // namespace kelpo
