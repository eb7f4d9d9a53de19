// The instances a person handles: the menu's choices, a widget dropped after
// a drag, desktop.ini kept in step (written on each change, followed when
// another program changes it).

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "desktop/handling/free_spot.h"
#include "desktop/live_host.h"
#include "desktop/surfaces/monitor_choice.h"
#include "widget/widget_family.h"

namespace kelpo::desktop {

void LiveHost::addInstance(KeptInstance kept) {
  // Windows of no GtkApplication (see runDesktopHost).
  auto window = std::make_unique<WidgetWindow>(
      nullptr, WindowPlacement{settings_.placement, 0, kept.monitor, kept.place}, route_.make(),
      measurer_, [this](const std::string& url) { openLink(url); }, report_, InstanceEvents{});
  const WidgetWindow* identity = window.get();
  InstanceEvents events;
  events.menuState = [this, identity] {
    MenuState state{.appearance = settings_.appearance,
                    .startsAtLogin = source_.startsAtLogin ? source_.startsAtLogin() : false,
                    .saveProblem = saveProblem_};
    if (const auto index = indexOf(*identity)) {
      state.family = instances_[*index].kept.family;
      state.roomToAdd = roomToAdd(*index);
    }
    return state;
  };
  events.menuChosen = [this, identity](const MenuRequest& request) { choose(*identity, request); };
  events.moved = [this, identity](const InstancePlace& place, const std::string& monitor) {
    moved(*identity, place, monitor);
  };
  window->setEvents(std::move(events));
  instances_.push_back({std::move(kept), std::move(window)});
}

std::optional<std::size_t> LiveHost::indexOf(const WidgetWindow& window) const {
  for (std::size_t i = 0; i < instances_.size(); ++i) {
    if (instances_[i].window.get() == &window) return i;
  }
  return std::nullopt;
}

// A choice may remove the window whose menu is still unwinding: it is
// applied once the main loop is back.
void LiveHost::choose(const WidgetWindow& window, const MenuRequest& request) {
  choices_.push_back({&window, request});
  if (!choicesIdle_.active()) choicesIdle_ = SourceHandle(g_idle_add(&LiveHost::onChoices, this));
}

gboolean LiveHost::onChoices(gpointer self) {
  auto& host = *static_cast<LiveHost*>(self);
  host.choicesIdle_.forget();
  const std::vector<Choice> choices = std::exchange(host.choices_, {});
  for (const Choice& choice : choices) {
    if (const auto index = host.indexOf(*choice.window)) host.apply(*index, choice.request);
  }
  return G_SOURCE_REMOVE;
}

void LiveHost::apply(std::size_t index, const MenuRequest& request) {
  Instance& instance = instances_[index];
  switch (request.action) {
    case MenuAction::open:
      if (const auto link = instance.window->widgetLink()) openLink(*link);
      return;
    case MenuAction::reload:
      handle(HostEvent::reloadAsked);
      return;
    case MenuAction::resize:
      resize(index, request.family);
      break;
    case MenuAction::appearance:
      settings_.appearance = request.appearance;
      for (const Instance& each : instances_) each.window->setColorScheme(colorScheme());
      save();
      return;
    case MenuAction::moveToCorner: {
      const double margin = settings_.placement.margin;
      instance.kept.place = InstancePlace{request.corner, margin, margin};
      instance.window->setPlace(instance.kept.place, instance.kept.monitor);
      save();
      return;
    }
    case MenuAction::add: {
      if (instances_.size() >= maxInstances) {
        report_.tell(report_.limitation, "no widget added: " + std::to_string(maxInstances) +
                                             " widgets are shown already");
        return;
      }
      const auto spot = freeSpotNextTo(index, request.family);
      const auto area = instance.window->workArea();
      if (!spot || !area) {
        report_.tell(report_.limitation, "no widget added: no free spot for a " +
                                             std::string(widgetSize(request.family).name) +
                                             " widget on its monitor");
        return;
      }
      addInstance(KeptInstance{request.family, instance.kept.monitor, placeOfDrop(*spot, *area)});
      break;
    }
    case MenuAction::startAtLogin:
      if (source_.setStartAtLogin) source_.setStartAtLogin(request.on);
      return;
    case MenuAction::remove:
      instances_.erase(instances_.begin() + static_cast<std::ptrdiff_t>(index));
      save();
      if (instances_.empty()) {
        // The last one gone: nothing starts it at login any more.
        if (source_.setStartAtLogin) source_.setStartAtLogin(false);
        if (stop_) stop_();
      }
      return;
  }
  save();
  reload();
}

void LiveHost::moved(const WidgetWindow& window, const InstancePlace& place,
                     const std::string& monitor) {
  const auto index = indexOf(window);
  if (!index) return;
  instances_[*index].kept.place = place;
  if (!monitor.empty()) instances_[*index].kept.monitor = monitor;
  save();
}

// Among the widgets on the asking one's monitor only: the others never
// share its work area.
std::optional<ui::Rect> LiveHost::freeSpotNextTo(std::size_t index, WidgetFamily family) const {
  const WidgetWindow& asking = *instances_[index].window;
  const auto frame = asking.frame();
  const auto area = asking.workArea();
  if (!frame || !area) return std::nullopt;
  std::vector<ui::Rect> shown;
  for (const Instance& each : instances_) {
    if (each.window->workArea() != area) continue;
    if (const auto other = each.window->frame()) shown.push_back(*other);
  }
  const WidgetSize& size = widgetSize(family);
  return freeSpot({*area, shown, {size.width, size.height}, settings_.placement.margin, *frame});
}

void LiveHost::resize(std::size_t index, WidgetFamily family) {
  Instance& resized = instances_[index];
  resized.kept.family = family;
  const WidgetSize& size = widgetSize(family);
  const auto current = resized.window->frame();
  const auto inPlace = resized.window->frameAtSize({size.width, size.height});
  const auto area = resized.window->workArea();
  if (!current || !inPlace || !area) return;
  std::vector<ui::Rect> others;
  for (const Instance& each : instances_) {
    if (&each == &resized || each.window->workArea() != area) continue;
    if (const auto other = each.window->frame()) others.push_back(*other);
  }
  const ui::Rect frame =
      resizedFrame({*area, others, *current, *inPlace, settings_.placement.margin});
  if (frame == *inPlace) return;
  for (Instance& each : instances_) {
    if (each.kept.place) continue;
    each.kept.place = each.window->shownPlace();
    each.window->setPlace(each.kept.place, each.kept.monitor);
  }
  resized.kept.place = placeOfDrop(frame, *area);
  resized.window->setPlace(resized.kept.place, resized.kept.monitor);
}

bool LiveHost::roomToAdd(std::size_t index) const {
  return instances_.size() < maxInstances &&
         std::ranges::any_of(widgetSizes, [&](const WidgetSize& size) {
           return freeSpotNextTo(index, size.family).has_value();
         });
}

void LiveHost::tellUnfoundMonitors() const {
  std::vector<std::string> wishes;
  if (settings_.placement.monitor) wishes.push_back(*settings_.placement.monitor);
  for (const Instance& instance : instances_) {
    if (instance.kept.monitor) wishes.push_back(*instance.kept.monitor);
  }
  if (wishes.empty()) return;
  const PresentMonitors present = presentMonitors(gdk_display_get_default());
  std::vector<std::string> told;
  for (const std::string& wish : wishes) {
    if (std::ranges::find(told, wish) != told.end()) continue;
    told.push_back(wish);
    if (const auto problem = monitorWishProblem(wish, present.monitors, present.namesKnown)) {
      report_.tell(report_.limitation, *problem);
    }
  }
}

void LiveHost::save() {
  std::vector<KeptInstance> kept;
  for (const Instance& instance : instances_) kept.push_back(instance.kept);
  settings_.instances = kept;
  const auto saved = saveSettings(defaultSettingsFile(), kept, settings_.appearance);
  if (!saved) {
    saveProblem_ = saved.error();
    report_.tell(report_.failure, "the widgets' places were not saved: " + saved.error());
    return;
  }
  saveProblem_.reset();
  // New instances learn their group, so that the next save finds them.
  for (std::size_t i = 0; i < instances_.size() && i < saved->size(); ++i) {
    instances_[i].kept.group = (*saved)[i].group;
  }
  settings_.instances = *saved;
}

// A person or another program may edit desktop.ini while the widget shows:
// its instances and appearance are followed. The host's own writes read
// back as what it already shows, and change nothing.
void LiveHost::followSettingsFile() {
  const std::filesystem::path file = defaultSettingsFile();
  settingsWatch_.emplace(file.parent_path(), file.filename().string(), [this] {
    followSettingsTarget();
    readSettingsAgain();
  });
  followSettingsTarget();
}

// desktop.ini may be a link (into a folder of dotfiles): the file it leads
// to is watched too, and watched anew when the link is pointed elsewhere.
void LiveHost::followSettingsTarget() {
  const std::filesystem::path file = defaultSettingsFile();
  std::error_code error;
  std::optional<std::filesystem::path> target;
  if (std::filesystem::is_symlink(file, error)) {
    auto resolved = std::filesystem::weakly_canonical(file, error);
    if (!error) target = std::move(resolved);
  }
  if (target == settingsTarget_) return;
  settingsTarget_ = target;
  settingsTargetWatch_.reset();
  if (target) {
    settingsTargetWatch_.emplace(target->parent_path(), target->filename().string(),
                                 [this] { readSettingsAgain(); });
  }
}

void LiveHost::readSettingsAgain() {
  const SettingWords words = readSettingsFile(defaultSettingsFile());
  // A file being written by hand stays unread until every word of it reads.
  if (!words.ignored.empty()) return;
  const auto followed = resolveSettings({}, words);
  if (!followed || !followed->ignored.empty()) return;
  bool changed = followed->appearance != settings_.appearance;
  settings_.appearance = followed->appearance;
  const std::vector<KeptInstance>& wanted = followed->instances;
  std::vector<KeptInstance> shown;
  for (const Instance& instance : instances_) shown.push_back(instance.kept);
  if (!words.instances.empty() && wanted != shown) {
    instances_.resize(std::min(instances_.size(), wanted.size()));
    for (std::size_t i = 0; i < instances_.size(); ++i) {
      instances_[i].kept = wanted[i];
      instances_[i].window->setPlace(wanted[i].place, wanted[i].monitor);
    }
    for (std::size_t i = instances_.size(); i < wanted.size(); ++i) addInstance(wanted[i]);
    changed = true;
  }
  if (changed) reload();
}

}  // namespace kelpo::desktop
