#pragma once

// The Pango layouts of the texts one painter drew, kept from frame to frame.
// A live widget draws the same texts again and again (the score in a badge
// under its sheen), and laying a text out shapes it anew each time: the
// dearest part of such a frame. A layout found here is the very one
// makeTextLayout() would make, so the pixels do not change.
//
// Use: layoutFor() while painting a frame, then endFrame(), which lets go
// of the layouts that frame did not ask for.

#include <optional>
#include <vector>

#include "engine/cairo/handles.h"
#include "engine/text/pango_text_layout.h"

namespace kelpo::ui {

class TextLayoutCache {
 public:
  TextLayoutCache();
  ~TextLayoutCache();
  TextLayoutCache(TextLayoutCache&&) noexcept;
  TextLayoutCache& operator=(TextLayoutCache&&) noexcept;

  // The layout of `text` for `request`, in this cache's own Pango context;
  // valid until the next endFrame() or clear().
  [[nodiscard]] PangoLayout* layoutFor(const StyledText& text, const TextLayoutRequest& request);

  // Keeps only the layouts asked for since the last endFrame().
  void endFrame();

  // Lets every layout go.
  void clear();

  [[nodiscard]] std::size_t size() const { return entries_.size(); }

 private:
  struct Entry {
    StyledText text;
    TextLayoutRequest request;
    LayoutHandle layout;
    bool used = true;
  };
  PangoContextHandle context_;
  std::vector<Entry> entries_;
};

}  // namespace kelpo::ui
