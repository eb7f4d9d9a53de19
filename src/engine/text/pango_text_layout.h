#pragma once

// Building the Pango layout of a styled text. The measurer and the painter
// both build layouts here, so a text is drawn exactly as it was measured.

#include <pango/pango.h>

#include <optional>

#include "engine/cairo/handles.h"
#include "engine/text/text_layout.h"
#include "engine/views/color.h"

namespace kelpo::ui {

struct TextLayoutRequest {
  // Lines wrap at this width in points (between words, inside a word only
  // when it cannot fit alone); none: lines end only at line breaks.
  std::optional<double> width;
  // Every font size (and the tracking) is multiplied by it.
  double scale = 1;
  // At most this many lines; the last one ends with "…" when text is cut.
  std::optional<int> maxLines;
  // When set, each run carries its foreground colour (for drawing).
  std::optional<ColorScheme> foregroundScheme;
  friend bool operator==(const TextLayoutRequest&, const TextLayoutRequest&) = default;
};

struct TextLayout {
  LayoutHandle layout;
  bool truncated = false;  // lines were dropped and the last one ends with "…"
};

// The layout of `text` in `context`. The text is set as plain characters,
// never parsed as markup; bytes that are not UTF-8 show as U+FFFD.
// The text as it is laid out: its runs made valid UTF-8 and cut, with "…",
// to no more characters than any widget line or widget could show (a
// snapshot's texts are unbounded and Pango's cost grows faster than them).
[[nodiscard]] StyledText laidOutText(const StyledText& text);

[[nodiscard]] TextLayout makeTextLayout(PangoContext* context, const StyledText& text,
                                        const TextLayoutRequest& request);

// The layout's logical size in points.
[[nodiscard]] Size logicalSize(PangoLayout* layout);

}  // namespace kelpo::ui
