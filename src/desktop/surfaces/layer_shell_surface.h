#pragma once

// A wlr layer-shell surface on the bottom layer: the compositor keeps it
// below windows, out of task lists, anchored to a corner of the area panels
// leave free.

#include "desktop/surfaces/desktop_surface.h"

namespace kelpo::desktop {

class LayerShellSurface final : public DesktopSurface {
 public:
  void prepare(GtkWindow* window) override;
  void place(GtkWindow* window, const WindowPlacement& where, ui::Size size) override;
  [[nodiscard]] bool blendsAlpha(GtkWidget* window) const override;
  void holdKeys(GtkWindow* window, bool held) override;
  [[nodiscard]] bool overlaysOutputs() const override { return true; }
  [[nodiscard]] std::string describe(GtkWindow* window) const override;
};

}  // namespace kelpo::desktop
