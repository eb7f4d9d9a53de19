#pragma once

#include <string>

#include "base/locale/phrases.h"
#include "engine/views/view.h"

namespace kelpo {

// A figure over its caption on a softly tinted rounded card that stretches to
// the width it is offered. The figure is shown verbatim, the caption in the
// widget's language.
struct Tile {
  std::string value;
  LocalizedPhrase label;

  [[nodiscard]] ui::View body() const;
};

}  // namespace kelpo
