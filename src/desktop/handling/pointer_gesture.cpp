#include "desktop/handling/pointer_gesture.h"

#include <algorithm>
#include <cmath>

namespace kelpo::desktop {

using namespace gesture;

namespace {

// Kept inside the widget: the pointer stays over what it holds.
[[nodiscard]] ui::Point clampedInto(ui::Point offset, ui::Size size) {
  return {std::clamp(offset.x, 0.0, std::max(0.0, size.width)),
          std::clamp(offset.y, 0.0, std::max(0.0, size.height))};
}

// The same fraction of a length that changed.
[[nodiscard]] double rescaled(double offset, double from, double to) {
  return from > 0 ? offset / from * to : to / 2;
}

}  // namespace

std::vector<Outcome> PointerGesture::handle(const Event& event) {
  return std::visit([this](const auto& each) { return on(each); }, event);
}

std::vector<Outcome> PointerGesture::on(const PrimaryPress& press) {
  std::vector<Outcome> outcomes;
  // A drag still under way missed its release: it ends where it was left.
  if (phase_ == Phase::dragging) outcomes.emplace_back(drop());
  const ui::Point offset{press.pointer.x - press.frame.minX(),
                         press.pointer.y - press.frame.minY()};
  hold_ = {press.pointer, press.frame, clampedInto(offset, press.frame.size), press.frame.size,
           press.pointer};
  phase_ = Phase::pressed;
  return outcomes;
}

std::vector<Outcome> PointerGesture::on(const Motion& motion) {
  if (phase_ != Phase::idle && !motion.primaryHeld) {
    // The release went elsewhere (a menu, another program's grab): without
    // a button the pointer only hovers, and a drag keeps its last place.
    std::vector<Outcome> outcomes;
    if (phase_ == Phase::dragging) outcomes.emplace_back(drop());
    phase_ = Phase::idle;
    outcomes.emplace_back(Hover{motion.local});
    return outcomes;
  }
  switch (phase_) {
    case Phase::idle:
      return {Hover{motion.local}};
    case Phase::pressed:
    case Phase::dragging:
      if (follow(motion.pointer)) return {MoveTo{frameUnderPointer(), motion.pointer}};
      return {};
    case Phase::spent:
      return {};
  }
  return {};
}

std::vector<Outcome> PointerGesture::on(const PrimaryRelease& release) {
  if (phase_ == Phase::pressed || phase_ == Phase::dragging) {
    // A release further than the threshold is a drag, even when no motion
    // came before it.
    if (follow(release.pointer)) return {drop()};
    phase_ = Phase::idle;
    return {ClickAt{release.local}};
  }
  phase_ = Phase::idle;
  return {};
}

// A secondary click during a drag puts the widget down where it is, and does
// no more: a menu opened while the primary button is still held would take
// that button's release as a choice of whichever item lies under the pointer.
std::vector<Outcome> PointerGesture::on(const SecondaryPress&) {
  switch (phase_) {
    case Phase::dragging: {
      const DropAt dropped = drop();
      phase_ = Phase::spent;
      return {dropped};
    }
    case Phase::pressed:
      phase_ = Phase::spent;  // no longer a click
      return {OpenMenu{}};
    case Phase::idle:
    case Phase::spent:
      return {OpenMenu{}};
  }
  return {};
}

std::vector<Outcome> PointerGesture::on(const Enter& enter) {
  // A pointer warped onto the widget enters without moving.
  if (phase_ == Phase::idle) return {Hover{enter.local}};
  return {};
}

// Leaving does not end a press: the pointer is held by the window until the
// release, and a quick flick or a press near the edge leaves the window
// before the motion that makes it a drag arrives.
std::vector<Outcome> PointerGesture::on(const Leave&) {
  return {HoverEnded{}};
}

std::vector<Outcome> PointerGesture::on(const EscapeKey&) {
  switch (phase_) {
    case Phase::dragging:
      phase_ = Phase::spent;
      return {PutBack{hold_.frameBefore}};
    case Phase::pressed:
      phase_ = Phase::spent;  // no longer a click
      return {};
    case Phase::idle:
    case Phase::spent:
      return {};
  }
  return {};
}

// The frame takes the new size around the pointer, at the same fraction of
// it, so the pointer stays over the widget it holds.
std::vector<Outcome> PointerGesture::on(const Resized& resized) {
  if (phase_ == Phase::idle || phase_ == Phase::spent) return {};
  hold_.grip = clampedInto({rescaled(hold_.grip.x, hold_.size.width, resized.size.width),
                            rescaled(hold_.grip.y, hold_.size.height, resized.size.height)},
                           resized.size);
  hold_.size = resized.size;
  if (phase_ == Phase::dragging) return {MoveTo{frameUnderPointer(), hold_.pointer}};
  return {};
}

std::vector<Outcome> PointerGesture::on(const GrabBroken&) {
  // No release will come: a drag is kept where it was left.
  if (phase_ == Phase::dragging) return {drop()};
  phase_ = Phase::idle;
  return {};
}

bool PointerGesture::follow(ui::Point pointer) {
  hold_.pointer = pointer;
  if (phase_ == Phase::dragging) return true;
  // GTK compares each axis with the threshold, as its own drags do.
  if (std::abs(pointer.x - hold_.pressedAt.x) <= threshold_ &&
      std::abs(pointer.y - hold_.pressedAt.y) <= threshold_) {
    return false;
  }
  phase_ = Phase::dragging;
  return true;
}

ui::Rect PointerGesture::frameUnderPointer() const {
  return {{hold_.pointer.x - hold_.grip.x, hold_.pointer.y - hold_.grip.y}, hold_.size};
}

DropAt PointerGesture::drop() {
  phase_ = Phase::idle;
  return {frameUnderPointer(), hold_.pointer};
}

}  // namespace kelpo::desktop
