#pragma once

#include "engine/views/view.h"

namespace kelpo {

// The background of the whole widget: a near-white (light) or near-black
// (dark) base washed by three wide, soft glows spreading from the
// top-leading corner, the trailing edge and the bottom edge. It runs to the
// widget's edges.
struct MistBackground {
  [[nodiscard]] ui::View body() const;
};

}  // namespace kelpo
