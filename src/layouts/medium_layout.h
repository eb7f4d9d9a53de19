#pragma once

#include <vector>

#include "engine/views/view.h"
#include "layouts/widget_mode.h"
#include "snapshot/widget_snapshot.h"
#include "style/accent_theme.h"

namespace kelpo {

// The medium widget: a sidebar with the week ring and the next search, and
// a main column of rows, or of the week's message and tiles.
struct MediumLayout {
  const WidgetSnapshot& snapshot;
  AccentTheme accent;

  [[nodiscard]] ui::View body(WidgetMode mode) const;

 private:
  [[nodiscard]] ui::View sidebar(WidgetMode mode) const;
  [[nodiscard]] ui::View mainColumn(WidgetMode mode) const;
  [[nodiscard]] ui::Text weekMessage(WidgetMode mode) const;
  [[nodiscard]] std::vector<ui::View> weekTiles() const;
  [[nodiscard]] ui::View itemRow(const WidgetSnapshot::Item& item) const;
};

}  // namespace kelpo
