#include "platform/desktop/color_scheme_watch.h"

#include <gtk/gtk.h>

#include <cstring>
#include <string_view>

namespace kelpo::desktop {
namespace {

constexpr const char* portalName = "org.freedesktop.portal.Desktop";
constexpr const char* portalPath = "/org/freedesktop/portal/desktop";
constexpr const char* settingsInterface = "org.freedesktop.portal.Settings";
constexpr const char* appearanceNamespace = "org.freedesktop.appearance";
constexpr const char* colorSchemeKey = "color-scheme";

// A theme whose name says it is dark ("Adwaita-dark", "Yaru:dark").
[[nodiscard]] bool namesDarkTheme(const gchar* name) {
  if (name == nullptr) return false;
  const std::string_view text(name);
  return text.ends_with("-dark") || text.ends_with(":dark") || text.ends_with("-Dark");
}

[[nodiscard]] ui::ColorScheme gtkColorScheme() {
  GtkSettings* settings = gtk_settings_get_default();
  if (settings == nullptr) return ui::ColorScheme::light;
  gboolean prefersDark = FALSE;
  gchar* theme = nullptr;
  g_object_get(settings, "gtk-application-prefer-dark-theme", &prefersDark, "gtk-theme-name",
               &theme, nullptr);
  const CharsHandle owned(theme);
  return prefersDark || namesDarkTheme(theme) ? ui::ColorScheme::dark : ui::ColorScheme::light;
}

}  // namespace

std::optional<ui::ColorScheme> colorSchemeFromPortalValue(GVariant* value) {
  // Read answers a variant holding a variant; the signal, one variant.
  VariantHandle held(value != nullptr ? g_variant_ref(value) : nullptr);
  for (int depth = 0; held && depth < 8 && g_variant_is_of_type(held.get(), G_VARIANT_TYPE_VARIANT);
       ++depth) {
    held.reset(g_variant_get_variant(held.get()));
  }
  if (!held || !g_variant_is_of_type(held.get(), G_VARIANT_TYPE_UINT32)) return std::nullopt;
  switch (g_variant_get_uint32(held.get())) {
    case 1:
      return ui::ColorScheme::dark;
    case 2:
      return ui::ColorScheme::light;
    default:
      return std::nullopt;
  }
}

ColorSchemeWatch::ColorSchemeWatch(std::function<void(ui::ColorScheme)> changed)
    : changed_(std::move(changed)), bus_(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr)) {
  if (bus_) {
    subscription_ = g_dbus_connection_signal_subscribe(
        bus_.get(), nullptr, settingsInterface, "SettingChanged", portalPath, appearanceNamespace,
        G_DBUS_SIGNAL_FLAGS_NONE, &ColorSchemeWatch::onSettingChanged, this, nullptr);
    readPortal();
  }
  if (GtkSettings* settings = gtk_settings_get_default()) {
    for (const char* property :
         {"notify::gtk-application-prefer-dark-theme", "notify::gtk-theme-name"}) {
      gtkHandlers_.push_back(
          g_signal_connect(settings, property, G_CALLBACK(&ColorSchemeWatch::onGtkSetting), this));
    }
  }
}

ColorSchemeWatch::~ColorSchemeWatch() {
  if (GtkSettings* settings = gtk_settings_get_default()) {
    for (const gulong handler : gtkHandlers_) g_signal_handler_disconnect(settings, handler);
  }
  if (bus_ && subscription_ != 0) g_dbus_connection_signal_unsubscribe(bus_.get(), subscription_);
}

void ColorSchemeWatch::readPortal() {
  // Read, not ReadOne: the portal of Debian 12 has only Read. The call has a
  // timeout and never starts a service: a portal that is not running counts
  // as none.
  GError* failure = nullptr;
  const VariantHandle reply(g_dbus_connection_call_sync(
      bus_.get(), portalName, portalPath, settingsInterface, "Read",
      g_variant_new("(ss)", appearanceNamespace, colorSchemeKey), G_VARIANT_TYPE("(v)"),
      G_DBUS_CALL_FLAGS_NO_AUTO_START, portalTimeoutMilliseconds, nullptr, &failure));
  const ErrorHandle owned(failure);
  if (!reply) return;
  const VariantHandle value(g_variant_get_child_value(reply.get(), 0));
  portal_ = colorSchemeFromPortalValue(value.get());
}

ui::ColorScheme ColorSchemeWatch::current() const {
  return portal_.value_or(gtkColorScheme());
}

void ColorSchemeWatch::announceIfChanged(ui::ColorScheme before) {
  if (current() != before) changed_(current());
}

void ColorSchemeWatch::onSettingChanged(GDBusConnection*, const gchar*, const gchar*, const gchar*,
                                        const gchar*, GVariant* parameters, gpointer self) {
  auto& watch = *static_cast<ColorSchemeWatch*>(self);
  if (!g_variant_is_of_type(parameters, G_VARIANT_TYPE("(ssv)"))) return;
  const gchar* space = nullptr;
  const gchar* key = nullptr;
  GVariant* value = nullptr;
  g_variant_get(parameters, "(&s&sv)", &space, &key, &value);
  const VariantHandle owned(value);
  if (std::strcmp(space, appearanceNamespace) != 0 || std::strcmp(key, colorSchemeKey) != 0) {
    return;
  }
  const ui::ColorScheme before = watch.current();
  watch.portal_ = colorSchemeFromPortalValue(value);
  watch.announceIfChanged(before);
}

void ColorSchemeWatch::onGtkSetting(GObject*, GParamSpec*, gpointer self) {
  auto& watch = *static_cast<ColorSchemeWatch*>(self);
  // Only what GTK says changed; the scheme before cannot be asked for any
  // more, so the new one is announced and the host ignores a repeat.
  if (!watch.portal_) watch.changed_(watch.current());
}

bool gtkPrefersReducedMotion() {
  GtkSettings* settings = gtk_settings_get_default();
  if (settings == nullptr) return false;
  gboolean animations = TRUE;
  g_object_get(settings, "gtk-enable-animations", &animations, nullptr);
  return !animations;
}

}  // namespace kelpo::desktop
