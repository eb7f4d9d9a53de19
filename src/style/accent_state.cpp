#include "style/accent_state.h"

#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/preferences.h"

namespace kelpo {
namespace {
constexpr std::string_view accentKey = "accent";
}  // namespace

struct AccentState::Subscription::Registry {
  std::mutex mutex;
  std::uint64_t nextId = 1;
  std::map<std::uint64_t, Observer> observers;
};

AccentState::Subscription::Subscription(std::weak_ptr<Registry> registry, std::uint64_t id)
    : registry_(std::move(registry)), id_(id) {}

AccentState::Subscription& AccentState::Subscription::operator=(Subscription&& other) noexcept {
  if (this != &other) {
    cancel();
    registry_ = std::move(other.registry_);
    id_ = std::exchange(other.id_, 0);
  }
  return *this;
}

AccentState::Subscription::~Subscription() {
  cancel();
}

void AccentState::Subscription::cancel() {
  if (const auto registry = registry_.lock()) {
    const std::scoped_lock lock(registry->mutex);
    registry->observers.erase(id_);
  }
  registry_.reset();
}

AccentState::AccentState(AccentTheme initial)
    : value_(initial), observers_(std::make_shared<Subscription::Registry>()) {}

AccentState::~AccentState() = default;

AccentState& AccentState::shared() {
  static AccentState state(
      themeFromPreference(Preferences(Preferences::defaultLocation()).string(accentKey)));
  return state;
}

AccentTheme AccentState::themeFromPreference(const std::optional<std::string>& stored) {
  return accentThemeFromRawValue(stored.value_or("")).value_or(AccentTheme::braise);
}

void AccentState::setValue(AccentTheme theme) {
  value_.store(theme, std::memory_order_release);
  // Observers run outside the lock, so one may subscribe or unsubscribe.
  std::vector<Observer> toNotify;
  {
    const std::scoped_lock lock(observers_->mutex);
    for (const auto& [id, observer] : observers_->observers) toNotify.push_back(observer);
  }
  for (const auto& observer : toNotify) observer(theme);
}

AccentState::Subscription AccentState::subscribe(Observer observer) {
  const std::scoped_lock lock(observers_->mutex);
  const std::uint64_t id = observers_->nextId++;
  observers_->observers.emplace(id, std::move(observer));
  return Subscription(observers_, id);
}

AccentTheme chosenOrSharedAccent(std::optional<AccentTheme> chosen) {
  return chosen ? *chosen : AccentState::shared().value();
}

}  // namespace kelpo
