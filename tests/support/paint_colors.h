#pragma once

#include <variant>

#include "platform/ui/paint.h"

namespace kelpo::testing_support {

// The colour a plain-colour paint draws in `scheme`; transparent black for a
// gradient, which these tests never expect.
inline ui::Rgba resolved(const ui::Paint& paint, ui::ColorScheme scheme) {
  if (const auto* color = std::get_if<ui::Color>(&paint)) return color->resolve(scheme);
  return ui::Rgba{0, 0, 0, 0};
}

}  // namespace kelpo::testing_support
