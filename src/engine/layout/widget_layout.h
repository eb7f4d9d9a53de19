#pragma once

// Lays a widget's root view out in the outline of its family.

#include <vector>

#include "engine/layout/layout_resolver.h"
#include "engine/layout/layout_tree.h"
#include "engine/text/text_layout.h"
#include "engine/views/environment.h"
#include "engine/views/state_cell.h"
#include "engine/views/view.h"

namespace kelpo::ui {

// One build of a widget: the laid-out tree and the callbacks it holds.
struct WidgetBuild {
  LaidOutWidget widget;
  std::vector<AppearRequest> appears;
  std::vector<HoverRegion> hovers;
};

// The root content is offered the outline less the content margins and
// centred inside them; the container background is offered the whole
// outline. Every frame is absolute, from the outline's top-left corner.
[[nodiscard]] WidgetBuild buildWidget(const View& root, const Environment& environment,
                                      const TextMeasurer& measurer, StateStore& state);

// `view` alone, offered `available` and placed at the origin: for
// components and tests that need no widget around them.
[[nodiscard]] LaidOutNode layoutView(const View& view, Size available,
                                     const Environment& environment, const TextMeasurer& measurer);

// The laid-out widget for one render with no view host: state holds its
// initial values and no callback runs.
[[nodiscard]] LaidOutWidget layoutWidget(const View& root, const Environment& environment,
                                         const TextMeasurer& measurer);

}  // namespace kelpo::ui
