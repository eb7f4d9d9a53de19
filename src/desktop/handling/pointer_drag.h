#pragma once

// A press on the widget that may become a drag. A press and release without
// moving further than the desktop's drag threshold is a click (it opens a
// link); a move beyond it drags the widget with the pointer, and then the
// release drops it and opens nothing. Points are in the desktop's
// coordinates (points), the frame the widget's.

#include <optional>

#include "engine/views/geometry.h"

namespace kelpo::desktop {

class PointerDrag {
 public:
  // `threshold` in points: GTK's drag threshold for the desktop.
  explicit PointerDrag(double threshold) : threshold_(threshold) {}

  void press(ui::Point pointer, const ui::Rect& frame);
  // The widget's frame with the pointer at `pointer` once the press is a
  // drag; nothing while it is still a click, or without a press.
  [[nodiscard]] std::optional<ui::Rect> moveTo(ui::Point pointer);
  // Ends the press: the frame where it was dropped when it was a drag,
  // nothing for a click.
  [[nodiscard]] std::optional<ui::Rect> release(ui::Point pointer);
  void cancel() { pressed_.reset(); }

  [[nodiscard]] bool pressed() const { return pressed_.has_value(); }
  [[nodiscard]] bool dragging() const { return pressed_ && dragging_; }

 private:
  struct Press {
    ui::Point pointer;
    ui::Rect frame;
  };
  double threshold_;
  std::optional<Press> pressed_;
  bool dragging_ = false;
};

}  // namespace kelpo::desktop
