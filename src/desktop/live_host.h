#pragma once

// Everything that lives while the widget is shown: its windows, the watch of
// the shared directory, the reload deadline and the desktop's appearance.
// Each outside event reaches it as a HostEvent; it alone decides whether
// that means a new request or only a new frame.

#include <gio/gio.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "base/glib/glib_handles.h"
#include "desktop/host_report.h"
#include "desktop/session/color_scheme_watch.h"
#include "desktop/settings/desktop_settings.h"
#include "desktop/surfaces/desktop_route.h"
#include "desktop/watches/directory_watch.h"
#include "desktop/watches/wall_clock_deadline.h"
#include "desktop/widget_source.h"
#include "desktop/widget_window.h"
#include "engine/text/pango_text_measurer.h"

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
  // `report` must outlive the host; `stop` ends it, once no instance is
  // left.
  LiveHost(HostSettings settings, WidgetSource source, DesktopRoute route, const HostReport& report,
           std::function<void()> stop);
  LiveHost(const LiveHost&) = delete;
  LiveHost& operator=(const LiveHost&) = delete;
  ~LiveHost();

  void handle(HostEvent event);
  // The session's services, once its bus answers.
  void followSession(GDBusConnection* bus);
  // Why the last save of desktop.ini failed, until one succeeds: the
  // widgets' places are then lost at the next start, which the menu says.
  [[nodiscard]] const std::optional<std::string>& saveProblem() const { return saveProblem_; }

 private:
  struct Instance {
    KeptInstance kept;
    std::unique_ptr<WidgetWindow> window;
  };
  struct Choice {
    const WidgetWindow* window;
    MenuRequest request;
  };

  static gboolean onAppearanceFrame(gpointer self);
  static gboolean onChoices(gpointer self);
  // Instances, the menu and desktop.ini (live_host_instances.cpp).
  void addInstance(KeptInstance kept);
  void choose(const WidgetWindow& window, const MenuRequest& request);
  void apply(std::size_t index, const MenuRequest& request);
  void moved(const WidgetWindow& window, const InstancePlace& place, const std::string& monitor);
  [[nodiscard]] std::optional<std::size_t> indexOf(const WidgetWindow& window) const;
  // Where "Ajouter un widget" on instances_[index] puts a widget of
  // `family`: a free spot of its monitor, or nothing.
  [[nodiscard]] std::optional<ui::Rect> freeSpotNextTo(std::size_t index,
                                                       WidgetFamily family) const;
  // instances_[index] given `family` from its menu: it stays where its
  // place puts it unless it would grow there over a neighbour; then it
  // takes a place of its own where it does not, and the widgets stacked at
  // the host's corner keep theirs, so that none moves into the space it
  // leaves.
  void resize(std::size_t index, WidgetFamily family);
  // False when "Ajouter un widget" on instances_[index] can add no widget
  // of any size: too many shown, or no free spot left.
  [[nodiscard]] bool roomToAdd(std::size_t index) const;
  void save();
  // Says which wished-for monitors (--monitor, desktop.ini) show no widget:
  // a widget never falls to the primary monitor without a word.
  void tellUnfoundMonitors() const;
  void followSettingsFile();
  void followSettingsTarget();
  void readSettingsAgain();
  [[nodiscard]] ui::ColorScheme colorScheme() const;
  [[nodiscard]] bool reduceMotion() const;
  void reload();
  void tellFailure(const char* what);
  void openLink(const std::string& url) const;

  HostSettings settings_;
  WidgetSource source_;
  DesktopRoute route_;
  const HostReport& report_;
  std::function<void()> stop_;
  ui::PangoTextMeasurer measurer_;
  ColorSchemeWatch colorScheme_;
  WallClockDeadline deadline_;
  std::vector<Instance> instances_;
  std::optional<DirectoryWatch> watch_;
  std::optional<DirectoryWatch> settingsWatch_;
  // When desktop.ini is a link: the file it leads to, whose edits are
  // desktop.ini's.
  std::optional<std::filesystem::path> settingsTarget_;
  std::optional<DirectoryWatch> settingsTargetWatch_;
  std::optional<std::string> saveProblem_;
  SourceHandle appearanceFrame_;
  // Menu choices, applied from the main loop once GTK is done with the menu.
  std::vector<Choice> choices_;
  SourceHandle choicesIdle_;
  bool failing_ = false;
};

}  // namespace kelpo::desktop
