#pragma once

// An ordinary window, for a Wayland compositor without layer-shell and no
// X display to fall back on: the compositor alone decides where it goes and
// how it stacks; the widget can only ask to stay out of the task bar.

#include "desktop/surfaces/desktop_surface.h"

namespace kelpo::desktop {

class PlainWindowSurface final : public DesktopSurface {
 public:
  void prepare(GtkWindow* window) override;
  void place(GtkWindow* window, const WindowPlacement& where, ui::Size size) override;
  [[nodiscard]] bool blendsAlpha(GtkWidget* window) const override;
  [[nodiscard]] std::string describe(GtkWindow* window) const override;
};

}  // namespace kelpo::desktop
