#pragma once

// Owning handles for the Cairo, Pango and fontconfig objects that
// more than one stage of the engine keeps: image surfaces (pictures, drawn
// frames), and the fonts, contexts and layouts of text. Private to the
// platform layer: widget headers never include this file. Each handle
// releases its object exactly once, with the library's own release
// function, so no path frees anything by hand.

#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

#include <memory>

#include "base/glib/glib_handles.h"

namespace kelpo::ui {

// The release template and GObject handles are the platform's, shared with
// every layer that holds GLib values.
using SurfaceHandle =
    std::unique_ptr<cairo_surface_t, handle_detail::Releaser<cairo_surface_destroy>>;
using FontOptionsHandle =
    std::unique_ptr<cairo_font_options_t, handle_detail::Releaser<cairo_font_options_destroy>>;

using LayoutHandle = ObjectHandle<PangoLayout>;
using PangoContextHandle = ObjectHandle<PangoContext>;
using FontMapHandle = ObjectHandle<PangoFontMap>;
using PangoFontHandle = ObjectHandle<PangoFont>;
using FontDescriptionHandle =
    std::unique_ptr<PangoFontDescription, handle_detail::Releaser<pango_font_description_free>>;
using AttrListHandle =
    std::unique_ptr<PangoAttrList, handle_detail::Releaser<pango_attr_list_unref>>;

using FcConfigHandle = std::unique_ptr<FcConfig, handle_detail::Releaser<FcConfigDestroy>>;
using FcPatternHandle = std::unique_ptr<FcPattern, handle_detail::Releaser<FcPatternDestroy>>;
using FcObjectSetHandle = std::unique_ptr<FcObjectSet, handle_detail::Releaser<FcObjectSetDestroy>>;
using FcFontSetHandle = std::unique_ptr<FcFontSet, handle_detail::Releaser<FcFontSetDestroy>>;

}  // namespace kelpo::ui
