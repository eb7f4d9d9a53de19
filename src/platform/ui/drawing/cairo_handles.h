#pragma once

// Owning handles for the Cairo, Pango, GLib and fontconfig objects the
// drawing code uses. Private to the platform layer: widget headers never
// include this file. Each handle releases its object exactly once, with the
// library's own release function, so no drawing path frees anything by hand.

#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <glib-object.h>
#include <pango/pangocairo.h>

#include <memory>

namespace kelpo::ui {

namespace handle_detail {

template <auto Release>
struct Releaser {
  template <typename T>
  void operator()(T* object) const noexcept {
    if (object != nullptr) Release(object);
  }
};

// GObjects (layouts, contexts, font maps) are released by dropping a reference.
struct GObjectReleaser {
  void operator()(void* object) const noexcept {
    if (object != nullptr) g_object_unref(object);
  }
};

}  // namespace handle_detail

using CairoHandle = std::unique_ptr<cairo_t, handle_detail::Releaser<cairo_destroy>>;
using SurfaceHandle =
    std::unique_ptr<cairo_surface_t, handle_detail::Releaser<cairo_surface_destroy>>;
using PatternHandle =
    std::unique_ptr<cairo_pattern_t, handle_detail::Releaser<cairo_pattern_destroy>>;
using FontOptionsHandle =
    std::unique_ptr<cairo_font_options_t, handle_detail::Releaser<cairo_font_options_destroy>>;
using PathHandle = std::unique_ptr<cairo_path_t, handle_detail::Releaser<cairo_path_destroy>>;

using LayoutHandle = std::unique_ptr<PangoLayout, handle_detail::GObjectReleaser>;
using PangoContextHandle = std::unique_ptr<PangoContext, handle_detail::GObjectReleaser>;
using FontMapHandle = std::unique_ptr<PangoFontMap, handle_detail::GObjectReleaser>;
using PangoFontHandle = std::unique_ptr<PangoFont, handle_detail::GObjectReleaser>;
using FontDescriptionHandle =
    std::unique_ptr<PangoFontDescription, handle_detail::Releaser<pango_font_description_free>>;
using AttrListHandle =
    std::unique_ptr<PangoAttrList, handle_detail::Releaser<pango_attr_list_unref>>;

using FcConfigHandle = std::unique_ptr<FcConfig, handle_detail::Releaser<FcConfigDestroy>>;
using FcPatternHandle = std::unique_ptr<FcPattern, handle_detail::Releaser<FcPatternDestroy>>;
using FcObjectSetHandle = std::unique_ptr<FcObjectSet, handle_detail::Releaser<FcObjectSetDestroy>>;
using FcFontSetHandle = std::unique_ptr<FcFontSet, handle_detail::Releaser<FcFontSetDestroy>>;

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
