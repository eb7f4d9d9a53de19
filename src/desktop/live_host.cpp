#include "desktop/live_host.h"

#include <malloc.h>

#include <exception>
#include <string>

#include "base/time/clock.h"
#include "widget/shared_container.h"

namespace kelpo::desktop {
namespace {

// About one frame of a 60 Hz display: appearance changes closer together
// than this show as one frame.
constexpr guint appearanceFrameMilliseconds = 16;

}  // namespace

LiveHost::LiveHost(HostSettings settings, WidgetSource source, DesktopRoute route,
                   const HostReport& report, std::function<void()> stop)
    : settings_(std::move(settings)),
      source_(std::move(source)),
      route_(std::move(route)),
      report_(report),
      stop_(std::move(stop)),
      colorScheme_([this](ui::ColorScheme) { handle(HostEvent::appearanceChanged); }),
      deadline_([this] { handle(HostEvent::reloadDateReached); }) {
  for (const KeptInstance& kept : settings_.instances) addInstance(kept);
  tellUnfoundMonitors();
  if (const auto container = sharedContainerLocation()) {
    watch_.emplace(*container, std::string(snapshotFileName),
                   [this] { handle(HostEvent::snapshotChanged); });
  }
  followSettingsFile();
  reload();
}

LiveHost::~LiveHost() = default;

void LiveHost::handle(HostEvent event) {
  switch (event) {
    case HostEvent::reloadAsked:
      colorScheme_.refresh();
      reload();
      return;
    case HostEvent::reloadDateReached:
    case HostEvent::snapshotChanged:
      reload();
      return;
    case HostEvent::appearanceChanged:
      // The entry stays; only its colours change, in the next frame, so
      // that a burst of changes costs one frame rather than one each.
      if (!appearanceFrame_.active()) {
        appearanceFrame_ = SourceHandle(
            g_timeout_add(appearanceFrameMilliseconds, &LiveHost::onAppearanceFrame, this));
      }
      return;
  }
}

void LiveHost::followSession(GDBusConnection* bus) {
  colorScheme_.follow(bus);
}

gboolean LiveHost::onAppearanceFrame(gpointer self) {
  auto& host = *static_cast<LiveHost*>(self);
  host.appearanceFrame_.forget();
  for (const Instance& instance : host.instances_) {
    instance.window->setColorScheme(host.colorScheme());
  }
  return G_SOURCE_REMOVE;
}

ui::ColorScheme LiveHost::colorScheme() const {
  switch (settings_.appearance) {
    case AppearanceChoice::light:
      return ui::ColorScheme::light;
    case AppearanceChoice::dark:
      return ui::ColorScheme::dark;
    case AppearanceChoice::automatic:
      break;
  }
  return colorScheme_.current();
}

bool LiveHost::reduceMotion() const {
  switch (settings_.reduceMotion) {
    case MotionChoice::on:
      return true;
    case MotionChoice::off:
      return false;
    case MotionChoice::automatic:
      break;
  }
  return gtkPrefersReducedMotion();
}

// One timeline request per instance. A request that fails leaves that
// instance's last frame on screen; the failure is told once, until a
// request succeeds again.
void LiveHost::reload() {
  std::optional<Instant> nextReload;
  double offset = 0;
  for (const Instance& instance : instances_) {
    WidgetWindow& window = *instance.window;
    // Before it shows: an instance that appears at the corner and then
    // moves along the edge would flash over the one before it.
    window.setPlacementOffset(offset);
    try {
      TimelineAnswer answer = source_.timeline(instance.kept.family);
      if (!nextReload || answer.reloadDate < *nextReload) nextReload = answer.reloadDate;
      window.show(std::move(answer), colorScheme(), reduceMotion());
      failing_ = false;
    } catch (const std::exception& error) {
      tellFailure(error.what());
    } catch (...) {
      tellFailure("unknown error");
    }
    // Only the instances stacked at the host's corner push the next one.
    if (const auto size = window.size(); size && !instance.kept.place) {
      offset += size->height + settings_.placement.margin;
    }
  }
  if (source_.followsWallClock) {
    // Without an answer, try again after the shortest reload delay.
    deadline_.arm(nextReload.value_or(SystemClock().now() + std::chrono::minutes(15)));
  }
  // The entry just dropped may have been a large one (an 8 MB snapshot
  // takes some 70 MB to decode and lay out); give its pages back rather
  // than keep them for the rest of the session.
  malloc_trim(0);
}

void LiveHost::tellFailure(const char* what) {
  if (failing_) return;
  failing_ = true;
  report_.tell(report_.failure,
               std::string("the timeline request failed (") + what + "); the last frame stays");
}

void LiveHost::openLink(const std::string& url) const {
  GError* failure = nullptr;
  if (!g_app_info_launch_default_for_uri(url.c_str(), nullptr, &failure)) {
    const ErrorHandle owned(failure);
    report_.tell(report_.failure, "cannot open " + url + ": " + messageOf(failure));
  }
}

}  // namespace kelpo::desktop
