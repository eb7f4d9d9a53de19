#pragma once

// What a key does to a widget window. The window has the keys only while a
// drag holds them (for Escape) or once a screen reader has put the focus on
// it; the Menu key and Shift+F10 are GTK's own way to the menu.

namespace kelpo::desktop {

enum class WidgetKey { escape, activate /* Return, Enter, space */, other };

enum class KeyCommand { none, callOffDrag, openWidgetLink };

[[nodiscard]] constexpr KeyCommand commandFor(WidgetKey key, bool dragging) {
  if (dragging) return key == WidgetKey::escape ? KeyCommand::callOffDrag : KeyCommand::none;
  // A focused widget opens its own link, as its frame's click action does: a
  // press held for a drag must not.
  return key == WidgetKey::activate ? KeyCommand::openWidgetLink : KeyCommand::none;
}

}  // namespace kelpo::desktop
