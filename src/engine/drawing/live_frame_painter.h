#pragma once

// Drawing a widget frame after frame into a surface that keeps its pixels
// (a window's back buffer), as a desktop host does while something moves:
// the container background, which does not move, is drawn once per size,
// scale and appearance and then copied; of the rest only what changed
// since the last frame is drawn again. Every frame's pixels equal those of
// paintWidget() drawn from scratch at the same scale.
//
// Use, on the thread that draws:
//
//   LiveFramePainter painter;                        // one per widget window
//   ...each frame:
//   const PixelRect damage = painter.paintFrame(cr, widget, scale);
//   if (!damage.empty()) present(damage);             // e.g. queue that region
//
// `cr` draws into the host's surface with one user unit per device pixel
// and the widget's top-left corner at the origin. The surface must still
// hold the last frame this painter drew; when it does not (a new buffer, a
// surface the host cleared), call invalidate() first and the next frame
// is drawn whole.

#include <memory>
#include <optional>

#include "engine/drawing/device_pixels.h"
#include "engine/layout/layout_tree.h"

extern "C" {
typedef struct _cairo cairo_t;  // NOLINT: Cairo's own declaration
}

namespace kelpo::ui {

class LiveFramePainter {
 public:
  LiveFramePainter();
  ~LiveFramePainter();
  LiveFramePainter(LiveFramePainter&&) noexcept;
  LiveFramePainter& operator=(LiveFramePainter&&) noexcept;

  // Draws `widget` at `scale` device pixels per point and returns the
  // pixels it drew again (empty when nothing changed): the whole widget on
  // the first frame, after invalidate(), or when its size, scale,
  // appearance or background changed; otherwise the bounds of the nodes
  // that differ from the last frame's, widened to take in whole any shadow
  // drawn there. Pixels outside the widget's ceil(size x scale) are never
  // touched. An unusable scale or size draws nothing.
  [[nodiscard]] PixelRect paintFrame(cairo_t* cr, const LaidOutWidget& widget, double scale);

  // Forgets the last frame; the cached background stays if it still fits.
  void invalidate();

  // Lets what it keeps for the next frame go, for as long as nothing moves:
  // the background holds as many pixels as the window itself. The next
  // frame draws it again and still draws again only what changed.
  void releaseCaches();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace kelpo::ui
