#pragma once

#include <cstdint>
#include <vector>

#include "layouts/widget_mode.h"
#include "platform/ui/views/view.h"
#include "snapshot/widget_snapshot.h"
#include "style/accent_theme.h"

namespace kelpo {

// The view of one timeline entry: the small layout for a small instance, the
// medium layout for a medium one, over the mist background, with the
// link of the widget's mode on the whole widget.
// The accent is the one the extension context's accent state read; the
// views take their palette from it and read no shared state.
struct KelpoWidgetView {
  WidgetSnapshot snapshot;
  AccentTheme accent = AccentTheme::braise;

  [[nodiscard]] ui::View body() const;

 private:
  // The layout of `family`.
  [[nodiscard]] ui::View layout(WidgetFamily family, WidgetMode widgetMode) const;

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
