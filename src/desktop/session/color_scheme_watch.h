#pragma once

// The desktop's light or dark preference, and changes to it: the Settings
// portal's "color-scheme" once a portal has answered, else GTK's theme
// settings, else light.

#include <gio/gio.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/glib/glib_handles.h"
#include "engine/views/color.h"

namespace kelpo::desktop {

// How long one read of the portal may take. The read never holds anything
// up; a portal that lets it lapse is asked again while it keeps its name.
inline constexpr int portalTimeoutMilliseconds = 10000;

// The portal's value: 1 prefers dark, 2 prefers light, 0 (or anything else)
// states no preference. `value` may come wrapped in variants any number of
// times.
[[nodiscard]] std::optional<ui::ColorScheme> colorSchemeFromPortalValue(GVariant* value);

class ColorSchemeWatch {
 public:
  // `changed` runs on the main loop when the preference changes. GTK must
  // be initialised. Until `follow` the preference is GTK's.
  explicit ColorSchemeWatch(std::function<void(ui::ColorScheme)> changed);
  ColorSchemeWatch(const ColorSchemeWatch&) = delete;
  ColorSchemeWatch& operator=(const ColorSchemeWatch&) = delete;
  ~ColorSchemeWatch();

  // Follows the portal on `bus` from now on: read whenever a process takes
  // the portal's name (also one that starts late or again), its signals
  // taken only from that process.
  void follow(GDBusConnection* bus);
  // Reads the portal again, if one owns the name.
  void refresh();

  [[nodiscard]] ui::ColorScheme current() const;

 private:
  static void onPortalAppeared(GDBusConnection*, const gchar*, const gchar* owner, gpointer self);
  static void onPortalVanished(GDBusConnection*, const gchar*, gpointer self);
  static void onRead(GObject* bus, GAsyncResult* result, gpointer self);
  static void onSettingChanged(GDBusConnection*, const gchar* sender, const gchar*, const gchar*,
                               const gchar*, GVariant* parameters, gpointer self);
  static void onGtkSetting(GObject*, GParamSpec*, gpointer self);
  void readPortal();
  void stopListening();
  void takePortalValue(GVariant* value);

  std::function<void(ui::ColorScheme)> changed_;
  ObjectHandle<GDBusConnection> bus_;
  guint nameWatch_ = 0;
  std::string owner_;  // the unique name of the portal's process, while it has one
  guint subscription_ = 0;
  ObjectHandle<GCancellable> reading_;
  // The portal's last answer. It outlives a portal that goes away: the
  // desktop's preference has not changed for that.
  std::optional<ui::ColorScheme> portal_;
  std::vector<gulong> gtkHandlers_;
};

// Whether GTK's settings ask for animations to be left out.
[[nodiscard]] bool gtkPrefersReducedMotion();

}  // namespace kelpo::desktop
