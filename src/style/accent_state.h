#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "style/accent_theme.h"

namespace kelpo {

// The theme the widget draws with: one process-wide instance, read once from
// the "accent" preference when it is first used. A later change of the
// preference reaches the views only in a new process.
class AccentState {
 public:
  using Observer = std::function<void(AccentTheme)>;

  // Keeps an observer registered; dropping it unregisters the observer. It
  // may safely outlive the state it came from.
  class Subscription {
   public:
    Subscription() = default;
    Subscription(Subscription&&) noexcept = default;
    Subscription& operator=(Subscription&& other) noexcept;
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    ~Subscription();

   private:
    friend class AccentState;
    struct Registry;
    Subscription(std::weak_ptr<Registry> registry, std::uint64_t id);
    void cancel();
    std::weak_ptr<Registry> registry_;
    std::uint64_t id_ = 0;
  };

  explicit AccentState(AccentTheme initial);
  AccentState(const AccentState&) = delete;
  AccentState& operator=(const AccentState&) = delete;
  ~AccentState();

  // The instance of the process, made on first use (safe against
  // simultaneous first uses) from the stored "accent" preference.
  [[nodiscard]] static AccentState& shared();
  // The theme named by a stored preference: a missing value, an empty one,
  // one in the wrong case or any unknown name gives braise.
  [[nodiscard]] static AccentTheme themeFromPreference(const std::optional<std::string>& stored);

  [[nodiscard]] AccentTheme value() const { return value_.load(std::memory_order_acquire); }
  // Changes the theme and tells every observer. Nothing in the widget calls
  // it; the theme is fixed for the life of the process.
  void setValue(AccentTheme theme);
  // `observer` is called with the new theme after each change of value.
  [[nodiscard]] Subscription subscribe(Observer observer);

 private:
  std::atomic<AccentTheme> value_;
  std::shared_ptr<Subscription::Registry> observers_;
};

// `chosen`, or the process-wide theme when nothing is chosen. Views call it
// when their body is built, so that making a view never reads the
// preferences.
[[nodiscard]] AccentTheme chosenOrSharedAccent(std::optional<AccentTheme> chosen);

}  // namespace kelpo
