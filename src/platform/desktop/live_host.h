#pragma once

// Everything that lives while the widget is shown: its windows, the watch of
// the shared directory, the reload deadline and the desktop's appearance.
// Each outside event reaches it as a HostEvent; it alone decides whether
// that means a new request or only a new frame.

#include <memory>
#include <optional>
#include <vector>

#include "platform/desktop/glib_handles.h"
#include "platform/desktop/host_report.h"
#include "platform/desktop/session/color_scheme_watch.h"
#include "platform/desktop/settings/desktop_settings.h"
#include "platform/desktop/surfaces/desktop_route.h"
#include "platform/desktop/watches/directory_watch.h"
#include "platform/desktop/watches/wall_clock_deadline.h"
#include "platform/desktop/widget_source.h"
#include "platform/desktop/widget_window.h"
#include "platform/ui/text/pango_text_measurer.h"

namespace kelpo::desktop {

enum class HostEvent {
  reloadDateReached,
  snapshotChanged,
  reloadAsked,
  appearanceChanged,
};

class LiveHost {
 public:
  // Shows the windows with their first frame at once. GTK must be
  // initialised.
  // `report` must outlive the host.
  LiveHost(HostSettings settings, WidgetSource source, const DesktopRoute& route,
           const HostReport& report);
  LiveHost(const LiveHost&) = delete;
  LiveHost& operator=(const LiveHost&) = delete;
  ~LiveHost();

  void handle(HostEvent event);
  // The session's services, once its bus answers.
  void followSession(GDBusConnection* bus);

 private:
  static gboolean onAppearanceFrame(gpointer self);
  [[nodiscard]] ui::ColorScheme colorScheme() const;
  [[nodiscard]] bool reduceMotion() const;
  void reload();
  void tellFailure(const char* what);
  void openLink(const std::string& url) const;

  HostSettings settings_;
  WidgetSource source_;
  const HostReport& report_;
  ui::PangoTextMeasurer measurer_;
  ColorSchemeWatch colorScheme_;
  WallClockDeadline deadline_;
  std::vector<std::unique_ptr<WidgetWindow>> windows_;
  std::optional<DirectoryWatch> watch_;
  SourceHandle appearanceFrame_;
  bool failing_ = false;
};

}  // namespace kelpo::desktop
