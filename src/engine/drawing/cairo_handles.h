#pragma once

// Owning handles for what only drawing makes: Cairo contexts, patterns and
// paths, and the saved drawing state. The handles the earlier stages share
// (surfaces, Pango, fontconfig) come with them from cairo/handles.h, so
// drawing code includes this one file.

#include <cairo.h>

#include <memory>

#include "engine/cairo/handles.h"

namespace kelpo::ui {

using CairoHandle = std::unique_ptr<cairo_t, handle_detail::Releaser<cairo_destroy>>;
using PatternHandle =
    std::unique_ptr<cairo_pattern_t, handle_detail::Releaser<cairo_pattern_destroy>>;
using PathHandle = std::unique_ptr<cairo_path_t, handle_detail::Releaser<cairo_path_destroy>>;

// Saves the drawing state and restores it when the scope ends, so an early
// return cannot leave a transform or clip behind.
class SavedState {
 public:
  explicit SavedState(cairo_t* cr) : cr_(cr) { cairo_save(cr_); }
  ~SavedState() { cairo_restore(cr_); }
  SavedState(const SavedState&) = delete;
  SavedState& operator=(const SavedState&) = delete;

 private:
  cairo_t* cr_;
};

}  // namespace kelpo::ui
