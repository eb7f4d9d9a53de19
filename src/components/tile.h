#pragma once

#include <string>

#include "platform/ui/views/view.h"

namespace kelpo {

// A figure over its caption on a softly tinted rounded card that stretches to
// the width it is offered. Both texts are shown verbatim.
struct Tile {
  std::string value;
  std::string label;

  [[nodiscard]] ui::View body() const;
};

}  // namespace kelpo
