#pragma once

// What a person's pointer and keys do to one widget instance. A primary
// press that moves no further than the desktop's drag threshold before its
// release is a click and opens the link under the pointer; once it moves
// further it drags the widget, and the drag ends by being dropped (the
// release, a secondary click, a grab taken away) or put back (Escape). A
// drag never opens a link, and hover follows the pointer only while no
// button is held.
//
// Points: `pointer` in the desktop's coordinates, `local` in the widget's;
// frames are the widget's in the desktop's coordinates.

#include <variant>
#include <vector>

#include "engine/views/geometry.h"

namespace kelpo::desktop {

namespace gesture {

struct PrimaryPress {
  ui::Point pointer;
  ui::Rect frame;  // where the widget is as it is pressed
};
struct Motion {
  ui::Point pointer;
  ui::Point local;
  bool primaryHeld = false;
};
struct PrimaryRelease {
  ui::Point pointer;
  ui::Point local;
};
struct SecondaryPress {};
struct Enter {
  ui::Point local;
};
struct Leave {};
struct EscapeKey {};
// The widget took another size (desktop.ini, its menu).
struct Resized {
  ui::Size size;
};
// The pointer or keyboard grab was taken by another program.
struct GrabBroken {};

using Event = std::variant<PrimaryPress, Motion, PrimaryRelease, SecondaryPress, Enter, Leave,
                           EscapeKey, Resized, GrabBroken>;

struct Hover {
  ui::Point local;
  friend bool operator==(const Hover&, const Hover&) = default;
};
struct HoverEnded {
  friend bool operator==(const HoverEnded&, const HoverEnded&) = default;
};
// The widget follows the pointer: shown at `frame`, not yet kept.
struct MoveTo {
  ui::Rect frame;
  ui::Point pointer;
  friend bool operator==(const MoveTo&, const MoveTo&) = default;
};
// The drag ends here: shown and kept at `frame`.
struct DropAt {
  ui::Rect frame;
  ui::Point pointer;
  friend bool operator==(const DropAt&, const DropAt&) = default;
};
// The drag is called off: back where it was before the press, nothing kept.
struct PutBack {
  ui::Rect frame;
  friend bool operator==(const PutBack&, const PutBack&) = default;
};
struct ClickAt {
  ui::Point local;
  friend bool operator==(const ClickAt&, const ClickAt&) = default;
};
struct OpenMenu {
  friend bool operator==(const OpenMenu&, const OpenMenu&) = default;
};

using Outcome = std::variant<Hover, HoverEnded, MoveTo, DropAt, PutBack, ClickAt, OpenMenu>;

}  // namespace gesture

class PointerGesture {
 public:
  // `threshold` in points: the desktop's drag threshold.
  explicit PointerGesture(double threshold) : threshold_(threshold) {}

  [[nodiscard]] std::vector<gesture::Outcome> handle(const gesture::Event& event);

  // True from the motion that makes a press a drag until it is dropped or
  // put back: the time the window wants the keyboard, for Escape.
  [[nodiscard]] bool dragging() const { return phase_ == Phase::dragging; }

 private:
  enum class Phase {
    idle,
    pressed,   // may still become a click
    dragging,  // the widget follows the pointer
    spent,     // the button is still held, but its press has been dealt with
  };
  // Where the pointer holds the widget, and where it is now.
  struct Hold {
    ui::Point pressedAt;
    ui::Rect frameBefore;
    ui::Point grip;  // the pointer's offset in the frame
    ui::Size size;   // the widget's current size
    ui::Point pointer;
  };

  std::vector<gesture::Outcome> on(const gesture::PrimaryPress& press);
  std::vector<gesture::Outcome> on(const gesture::Motion& motion);
  std::vector<gesture::Outcome> on(const gesture::PrimaryRelease& release);
  std::vector<gesture::Outcome> on(const gesture::SecondaryPress&);
  std::vector<gesture::Outcome> on(const gesture::Enter& enter);
  std::vector<gesture::Outcome> on(const gesture::Leave&);
  std::vector<gesture::Outcome> on(const gesture::EscapeKey&);
  std::vector<gesture::Outcome> on(const gesture::Resized& resized);
  std::vector<gesture::Outcome> on(const gesture::GrabBroken&);

  // Follows the pointer to `pointer`; true once the press is a drag.
  bool follow(ui::Point pointer);
  [[nodiscard]] ui::Rect frameUnderPointer() const;
  [[nodiscard]] gesture::DropAt drop();

  double threshold_;
  Phase phase_ = Phase::idle;
  Hold hold_;
};

}  // namespace kelpo::desktop
