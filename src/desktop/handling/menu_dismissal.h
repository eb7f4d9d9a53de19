#pragma once

// Keeping the widget's menu closable where its grab does not reach every
// client. Under XWayland, mutter gives an X11 pointer or keyboard grab no
// power over Wayland surfaces and the shell itself: a click on the desktop,
// the top bar or a Wayland window never reaches the menu, and keys go to
// whatever the compositor focused. So while the menu shows there, a
// transparent X11 window covers the screen under it (a click anywhere else
// lands on an X11 surface, which the menu's grab turns into a close, as on
// X11), and the widget takes the keyboard focus (Escape reaches the menu);
// when the compositor moves that focus elsewhere (another window, the task
// switcher) the menu closes. Escape's press mutter keeps: it ends the
// XWayland keyboard grab with it, and the menu gets only the key's release,
// then hears that its keyboard grab broke, told against its own window,
// which GTK takes for a grab moved within the application and ignores. So
// there the release of Escape closes the menu.

namespace kelpo::desktop {

struct MenuHelp {
  bool catchClicks = false;  // a transparent window under the menu
  bool takeFocus = false;    // the widget holds the keyboard while it shows
};

// `grabReachesEveryClient`: false where the menu's grab stops at the X11
// clients of a Wayland compositor.
[[nodiscard]] MenuHelp menuHelpFor(bool grabReachesEveryClient);

// Whether what the menu hears closes it. The widget's focus state: The compositor
// says the widget is focused some time after the menu asked for it, or
// never (a compositor may refuse); only losing a focus the widget had
// while the menu showed closes it: a menu that never got the focus stays
// closable by a click.
class MenuDismissal {
 public:
  // The menu shows; `focused`: the widget's focus state now.
  void opened(bool focused);
  // The compositor tells the widget's focus; true when the menu must close.
  [[nodiscard]] bool focusChanged(bool focused);
  // Escape was released over the menu; true when the menu must close. Where
  // the press reached the menu, GTK closed it then, and the release finds
  // it closed.
  [[nodiscard]] bool escapeReleased();
  void closed();

  [[nodiscard]] bool open() const { return open_; }

 private:
  bool open_ = false;
  bool held_ = false;  // focused at some time while open
};

}  // namespace kelpo::desktop
