#include "desktop/session/color_scheme_watch.h"

#include <gtk/gtk.h>

#include <cstring>
#include <string_view>

#include "desktop/session/session_bus.h"

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
    : changed_(std::move(changed)) {
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
  stopListening();
  if (nameWatch_ != 0) g_bus_unwatch_name(nameWatch_);
}

void ColorSchemeWatch::follow(GDBusConnection* bus) {
  if (bus_) return;
  bus_.reset(G_DBUS_CONNECTION(g_object_ref(bus)));
  // A portal that is not running yet is started (it usually is, by bus
  // activation), without waiting for it: it is read when it takes its name.
  nameWatch_ = g_bus_watch_name_on_connection(
      bus_.get(), portalName, G_BUS_NAME_WATCHER_FLAGS_AUTO_START,
      &ColorSchemeWatch::onPortalAppeared, &ColorSchemeWatch::onPortalVanished, this, nullptr);
}

void ColorSchemeWatch::refresh() {
  if (!owner_.empty()) readPortal();
}

void ColorSchemeWatch::onPortalAppeared(GDBusConnection*, const gchar*, const gchar* owner,
                                        gpointer self) {
  auto& watch = *static_cast<ColorSchemeWatch*>(self);
  watch.stopListening();
  watch.owner_ = owner;
  // Only the owner's signals: anyone on the bus can send one that looks
  // like the portal's.
  watch.subscription_ = g_dbus_connection_signal_subscribe(
      watch.bus_.get(), watch.owner_.c_str(), settingsInterface, "SettingChanged", portalPath,
      appearanceNamespace, G_DBUS_SIGNAL_FLAGS_NONE, &ColorSchemeWatch::onSettingChanged, self,
      nullptr);
  watch.readPortal();
}

void ColorSchemeWatch::onPortalVanished(GDBusConnection*, const gchar*, gpointer self) {
  static_cast<ColorSchemeWatch*>(self)->stopListening();
}

void ColorSchemeWatch::stopListening() {
  if (reading_) g_cancellable_cancel(reading_.get());
  reading_.reset();
  if (subscription_ != 0) g_dbus_connection_signal_unsubscribe(bus_.get(), subscription_);
  subscription_ = 0;
  owner_.clear();
}

void ColorSchemeWatch::readPortal() {
  // Read, not ReadOne: the portal of Debian 12 has only Read. Asked of the
  // owner itself, so that the answer and the signals come from one process.
  if (reading_) g_cancellable_cancel(reading_.get());
  reading_.reset(g_cancellable_new());
  g_dbus_connection_call(bus_.get(), owner_.c_str(), portalPath, settingsInterface, "Read",
                         g_variant_new("(ss)", appearanceNamespace, colorSchemeKey),
                         G_VARIANT_TYPE("(v)"), G_DBUS_CALL_FLAGS_NO_AUTO_START,
                         portalTimeoutMilliseconds, reading_.get(), &ColorSchemeWatch::onRead,
                         this);
}

void ColorSchemeWatch::onRead(GObject* bus, GAsyncResult* result, gpointer self) {
  GError* failure = nullptr;
  const VariantHandle reply(
      g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, &failure));
  const ErrorHandle owned(failure);
  if (wasCancelled(failure)) return;
  auto& watch = *static_cast<ColorSchemeWatch*>(self);
  watch.reading_.reset();
  if (g_error_matches(failure, G_IO_ERROR, G_IO_ERROR_TIMED_OUT)) {
    // A portal that is stopped or busy: ask again; its vanishing ends this.
    watch.readPortal();
    return;
  }
  if (!reply) return;  // a portal without the setting
  const VariantHandle value(g_variant_get_child_value(reply.get(), 0));
  watch.takePortalValue(value.get());
}

void ColorSchemeWatch::takePortalValue(GVariant* value) {
  const ui::ColorScheme before = current();
  portal_ = colorSchemeFromPortalValue(value);
  if (current() != before) changed_(current());
}

ui::ColorScheme ColorSchemeWatch::current() const {
  return portal_.value_or(gtkColorScheme());
}

void ColorSchemeWatch::onSettingChanged(GDBusConnection*, const gchar* sender, const gchar*,
                                        const gchar*, const gchar*, GVariant* parameters,
                                        gpointer self) {
  auto& watch = *static_cast<ColorSchemeWatch*>(self);
  if (sender == nullptr || watch.owner_ != sender) return;
  if (!g_variant_is_of_type(parameters, G_VARIANT_TYPE("(ssv)"))) return;
  const gchar* space = nullptr;
  const gchar* key = nullptr;
  GVariant* value = nullptr;
  g_variant_get(parameters, "(&s&sv)", &space, &key, &value);
  const VariantHandle owned(value);
  if (std::strcmp(space, appearanceNamespace) != 0 || std::strcmp(key, colorSchemeKey) != 0) {
    return;
  }
  watch.takePortalValue(value);
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
