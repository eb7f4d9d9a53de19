#pragma once

// The desktop's light or dark preference, and changes to it: the Settings
// portal's "color-scheme" when a portal answers, else GTK's theme settings,
// else light.

#include <functional>
#include <optional>
#include <vector>

#include "platform/desktop/glib_handles.h"
#include "platform/ui/views/color.h"

namespace kelpo::desktop {

// How long the portal may take to answer at start before the host goes on
// without it.
inline constexpr int portalTimeoutMilliseconds = 1000;

// The portal's value: 1 prefers dark, 2 prefers light, 0 (or anything else)
// states no preference. `value` may come wrapped in variants any number of
// times.
[[nodiscard]] std::optional<ui::ColorScheme> colorSchemeFromPortalValue(GVariant* value);

class ColorSchemeWatch {
 public:
  // `changed` runs on the main loop when the preference changes. GTK must
  // be initialised.
  explicit ColorSchemeWatch(std::function<void(ui::ColorScheme)> changed);
  ColorSchemeWatch(const ColorSchemeWatch&) = delete;
  ColorSchemeWatch& operator=(const ColorSchemeWatch&) = delete;
  ~ColorSchemeWatch();

  [[nodiscard]] ui::ColorScheme current() const;

 private:
  static void onSettingChanged(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                               const gchar*, GVariant* parameters, gpointer self);
  static void onGtkSetting(GObject*, GParamSpec*, gpointer self);
  void readPortal();
  void announceIfChanged(ui::ColorScheme before);

  std::function<void(ui::ColorScheme)> changed_;
  ObjectHandle<GDBusConnection> bus_;
  guint subscription_ = 0;
  std::optional<ui::ColorScheme> portal_;
  std::vector<gulong> gtkHandlers_;
};

// Whether GTK's settings ask for animations to be left out.
[[nodiscard]] bool gtkPrefersReducedMotion();

}  // namespace kelpo::desktop
