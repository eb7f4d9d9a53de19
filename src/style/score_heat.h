#pragma once

#include <array>
#include <cstdint>

#include "engine/views/color.h"
#include "engine/views/paint.h"

namespace kelpo {

// The colours and flags of one score, on a cold-to-warm scale from strong
// blue (1 and below) to solid red-orange (9) and gold (10 and above).
struct ScoreHeat {
  ui::Color base;        // fill of a solid badge, colour of its shadow
  ui::Color foreground;  // digits of a badge that is neither solid nor gold
  ui::Color background;  // fill of a badge that is not solid
  bool solid = false;    // filled with `base`, white digits
  bool gold = false;     // gold gradient, `goldInk` digits, sweeping sheen

  // The heat of `score`; builds new adaptive colours on each call.
  [[nodiscard]] static ScoreHeat forScore(std::int64_t score);
};

// The heats of the scores 1 to 10 (entry 0 is score 1), made once.
[[nodiscard]] const std::array<ScoreHeat, 10>& heatTable();

// The heat a badge shows: that of score 5 for an unread item (never gold or
// solid), otherwise that of the score clamped to 1...10.
[[nodiscard]] const ScoreHeat& heatForBadge(std::int64_t score, bool unread);

// Fixed colours shared by the warm end of the scale, each made once.
[[nodiscard]] const ui::Color& heatNine();  // base and background of score 9
[[nodiscard]] const ui::Color& heatTen();   // base and background of score 10
[[nodiscard]] const ui::Color& goldInk();   // digits of a gold badge
// Four gold stops from the top-leading to the bottom-trailing corner.
[[nodiscard]] const ui::LinearGradient& goldGradient();

}  // namespace kelpo
