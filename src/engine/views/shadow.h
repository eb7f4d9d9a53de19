#pragma once

// A drop shadow as a view asks for it: colour, blur radius and offset, in
// points. Layout copies it onto the laid-out node and drawing blurs it.

#include "engine/views/color.h"

namespace kelpo::ui {

struct Shadow {
  Color color;
  double radius = 0;
  double x = 0;
  double y = 0;
  friend bool operator==(const Shadow&, const Shadow&) = default;
};

}  // namespace kelpo::ui
