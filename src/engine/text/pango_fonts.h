#pragma once

// Pango's side of the widget's fonts, for the drawing code only.

#include <pango/pango.h>

#include <cstdint>
#include <filesystem>

#include "engine/cairo/handles.h"
#include "engine/views/font.h"

namespace kelpo::ui {

// Application font files larger than this are not registered (the display
// face is about 100 KB; the largest families with every script run to a
// few tens of megabytes).
inline constexpr std::uintmax_t largestFontFileBytes = 64 * 1024 * 1024;

// Whether `path` names a regular, non-empty file no larger than
// largestFontFileBytes, the only files handed to fontconfig. Never opens it.
[[nodiscard]] bool isUsableFontFile(const std::filesystem::path& path);

// This thread's font map over the process-wide font configuration (the
// system fonts plus the widget's application fonts). Pango font maps must
// not be shared between threads, so each thread gets its own; the font
// configuration beneath them is made once per process.
[[nodiscard]] PangoFontMap* widgetFontMap();

// A Pango context on this thread's font map set up for resolution-
// independent text: 72 units per inch (a point is a layout unit), no
// hinting, fractional glyph positions. Measuring and drawing both use it,
// so a text drawn at any scale breaks its lines where it was measured.
[[nodiscard]] PangoContextHandle makeWidgetPangoContext();

// The Pango description of `font` with its size multiplied by `scale`. The
// family is the system family for a system font, and a heavy sans-serif in
// place of a family that is not available (which missingFonts() records).
[[nodiscard]] FontDescriptionHandle makeFontDescription(const Font& font, double scale);

}  // namespace kelpo::ui
