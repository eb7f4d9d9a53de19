#include "engine/text/symbol_metrics.h"

#include <algorithm>
#include <cmath>

namespace kelpo::ui {

std::optional<SymbolShape> symbolNamed(std::string_view name) {
  if (name == "magnifyingglass") return SymbolShape::magnifyingGlass;
  if (name == "clock") return SymbolShape::clock;
  if (name == "checkmark") return SymbolShape::checkmark;
  return std::nullopt;
}

Size symbolBoxSize(const Font& font) {
  const double side =
      std::isfinite(font.size) ? std::max(0.0, font.size) * symbolSizeToFontSize : 0;
  return {side, side};
}

}  // namespace kelpo::ui
