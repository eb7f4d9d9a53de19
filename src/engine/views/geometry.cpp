#include "engine/views/geometry.h"

#include <algorithm>

namespace kelpo::ui {

namespace {

ProposedLength insetLength(const ProposedLength& length, double lessBy) {
  if (!length.isSpecified() || length.isInfinite()) return length;
  return ProposedLength::exactly(std::max(0.0, *length.value - lessBy));
}

}  // namespace

ProposedSize ProposedSize::inset(const EdgeInsets& insets) const {
  return {insetLength(width, insets.leading + insets.trailing),
          insetLength(height, insets.top + insets.bottom)};
}

}  // namespace kelpo::ui
