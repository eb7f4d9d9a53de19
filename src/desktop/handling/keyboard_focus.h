#pragma once

// When a widget window accepts the keyboard focus. A desktop widget never
// takes the focus from the window a person types in, so a click on it
// leaves the focus where it was. A screen reader (or any assistive
// technology) may still put the focus on it, so that the Menu key and
// Shift+F10 open its menu: the window then accepts the focus for that time,
// and stops accepting it once the focus leaves, so that clicks again never
// take it.

#include <optional>
#include <variant>

namespace kelpo::desktop {

namespace focus {

// An assistive technology asks for the focus; `shown` is false while the
// window is not on screen, where no focus can go.
struct Asked {
  bool shown = true;
};
// The window has the keyboard focus (also when a grab gives it back).
struct Gained {};
// The focus went to another window, or to a grab (the widget's own menu).
struct Lost {};

using Event = std::variant<Asked, Gained, Lost>;

struct Outcome {
  // What the request is answered: true when the focus is on its way.
  bool granted = false;
  // A new value for the window's "accepts the focus" hint, when it changes.
  std::optional<bool> acceptFocus;
  // Ask the window manager to give the window the focus now.
  bool present = false;

  friend bool operator==(const Outcome&, const Outcome&) = default;
};

}  // namespace focus

class KeyboardFocus {
 public:
  [[nodiscard]] focus::Outcome handle(const focus::Event& event);

  [[nodiscard]] bool accepting() const { return accepting_; }
  [[nodiscard]] bool focused() const { return focused_; }

 private:
  focus::Outcome on(const focus::Asked& asked);
  focus::Outcome on(const focus::Gained&);
  focus::Outcome on(const focus::Lost&);

  bool accepting_ = false;
  bool focused_ = false;
};

}  // namespace kelpo::desktop
