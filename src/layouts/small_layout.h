#pragma once

#include <cstdint>
#include <vector>

#include "engine/views/view.h"
#include "layouts/widget_mode.h"
#include "snapshot/widget_snapshot.h"
#include "style/accent_theme.h"

namespace kelpo {

// The small widget: the week ring and the counter side by side, the focus
// block below them.
struct SmallLayout {
  const WidgetSnapshot& snapshot;
  AccentTheme accent;

  [[nodiscard]] ui::View body(WidgetMode mode) const;

 private:
  [[nodiscard]] ui::View header(WidgetMode mode) const;
  [[nodiscard]] std::vector<ui::View> counter(WidgetMode mode) const;
  [[nodiscard]] std::vector<ui::View> counterStack(std::int64_t count, const char* label) const;
  [[nodiscard]] std::vector<ui::View> focusBlock(WidgetMode mode) const;
  [[nodiscard]] ui::View itemMetaLine(const WidgetSnapshot::Item& item) const;
};

}  // namespace kelpo
