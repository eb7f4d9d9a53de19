#pragma once

// A readable, stable text form of a laid-out widget, one line per node,
// indented by depth: what tests assert on and what the command-line tool
// prints. Lengths in points with at most two decimals; colours resolved for
// the widget's colour scheme as #RRGGBB or rgba(r, g, b, a); texts between
// quotes, in UTF-8 with the quote, the backslash and control characters
// escaped (see quotedText).

#include <string>

#include "engine/layout/layout_tree.h"

namespace kelpo::ui {

[[nodiscard]] std::string dumpTree(const LaidOutWidget& widget);
[[nodiscard]] std::string dumpNode(const LaidOutNode& node, ColorScheme scheme);

// "12", "12.5", "0.33": at most two decimals, no trailing zeros.
[[nodiscard]] std::string formatLength(double value);
[[nodiscard]] std::string formatColor(const Rgba& color);
[[nodiscard]] std::string formatPaint(const Paint& paint, ColorScheme scheme);

}  // namespace kelpo::ui
