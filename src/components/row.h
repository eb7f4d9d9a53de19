#pragma once

#include "engine/views/view.h"
#include "snapshot/widget_snapshot.h"

namespace kelpo {

// One listed item: its score badge, then its title over its detail line.
// Carries no link; the layout wraps it in one.
struct Row {
  WidgetSnapshot::Item item;

  [[nodiscard]] ui::View body() const;
};

}  // namespace kelpo
