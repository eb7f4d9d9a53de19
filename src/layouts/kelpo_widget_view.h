#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "layouts/widget_mode.h"
#include "platform/ui/views/view.h"
#include "snapshot/widget_snapshot.h"
#include "style/accent_theme.h"

namespace kelpo {

// The view of one timeline entry: the small layout for a small instance, the
// medium layout for any other family, over the mist background, with the
// link of the widget's mode on the whole widget.
// The layouts below run on the copy body() makes, whose accent is set.
struct KelpoWidgetView {
  WidgetSnapshot snapshot;
  std::optional<AccentTheme> accent;  // nothing: the process-wide theme

  [[nodiscard]] ui::View body() const;

 private:
  // Small layout (small_layout.cpp).
  [[nodiscard]] ui::View smallLayout(WidgetMode mode) const;
  [[nodiscard]] ui::View smallHeader(WidgetMode mode) const;
  [[nodiscard]] std::vector<ui::View> smallCounter(WidgetMode mode) const;
  [[nodiscard]] std::vector<ui::View> counterStack(std::int64_t count, const char* label) const;
  [[nodiscard]] std::vector<ui::View> focusBlock(WidgetMode mode) const;
  [[nodiscard]] ui::View itemMetaLine(const WidgetSnapshot::Item& item) const;

  // Medium layout (medium_layout.cpp).
  [[nodiscard]] ui::View mediumLayout(WidgetMode mode) const;
  [[nodiscard]] ui::View mediumSidebar(WidgetMode mode) const;
  [[nodiscard]] ui::View mediumMain(WidgetMode mode) const;
  [[nodiscard]] ui::Text weekMessage(WidgetMode mode) const;
  [[nodiscard]] std::vector<ui::View> weekTiles() const;
  [[nodiscard]] ui::View itemRow(const WidgetSnapshot::Item& item) const;
};

}  // namespace kelpo
