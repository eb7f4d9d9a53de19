#include "desktop/handling/keyboard_focus.h"

namespace kelpo::desktop {

focus::Outcome KeyboardFocus::handle(const focus::Event& event) {
  return std::visit([this](const auto& what) { return on(what); }, event);
}

focus::Outcome KeyboardFocus::on(const focus::Asked& asked) {
  if (!asked.shown) return {};
  // Already there: asking again changes nothing, and must not raise it.
  if (focused_) return {.granted = true, .acceptFocus = std::nullopt, .present = false};
  focus::Outcome outcome{.granted = true, .acceptFocus = std::nullopt, .present = true};
  if (!accepting_) outcome.acceptFocus = true;
  accepting_ = true;
  return outcome;
}

// The focus may also come back without being asked for: the widget's own
// menu grabs the keyboard and gives it back when it closes. The window keeps
// it then, without accepting a new one.
focus::Outcome KeyboardFocus::on(const focus::Gained&) {
  focused_ = true;
  return {};
}

// Whatever took the focus (another window, the menu's grab), from now on a
// click on the widget must not bring it back.
focus::Outcome KeyboardFocus::on(const focus::Lost&) {
  focused_ = false;
  if (!accepting_) return {};
  accepting_ = false;
  return {.granted = false, .acceptFocus = false, .present = false};
}

}  // namespace kelpo::desktop
