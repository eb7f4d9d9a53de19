#include "desktop/handling/pointer_drag.h"

#include <cmath>

namespace kelpo::desktop {

void PointerDrag::press(ui::Point pointer, const ui::Rect& frame) {
  pressed_ = Press{pointer, frame};
  dragging_ = false;
}

std::optional<ui::Rect> PointerDrag::moveTo(ui::Point pointer) {
  if (!pressed_) return std::nullopt;
  const double dx = pointer.x - pressed_->pointer.x;
  const double dy = pointer.y - pressed_->pointer.y;
  // GTK compares each axis with the threshold, as its own drags do.
  if (!dragging_ && std::abs(dx) <= threshold_ && std::abs(dy) <= threshold_) return std::nullopt;
  dragging_ = true;
  return ui::Rect{{pressed_->frame.minX() + dx, pressed_->frame.minY() + dy}, pressed_->frame.size};
}

std::optional<ui::Rect> PointerDrag::release(ui::Point pointer) {
  const std::optional<ui::Rect> dropped = moveTo(pointer);
  pressed_.reset();
  dragging_ = false;
  return dropped;
}

}  // namespace kelpo::desktop
