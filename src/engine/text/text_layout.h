#pragma once

// The contract between the layout engine and whatever measures and draws
// text (Pango in production, a fixed-width fake in layout tests).

#include <optional>
#include <string>
#include <vector>

#include "engine/views/font.h"
#include "engine/views/geometry.h"
#include "engine/views/paint.h"

namespace kelpo::ui {

enum class TextAlignment;

// A text ready to measure: phrases already localised and filled, text case
// already applied, every run with its font and paint resolved.
struct StyledRun {
  std::string text;
  Font font;
  Paint foreground;
  friend bool operator==(const StyledRun&, const StyledRun&) = default;
};

struct TextStyle {
  std::optional<int> lineLimit;   // none: as many lines as fit
  double minimumScaleFactor = 1;  // shrink down to this before cutting
  double tracking = 0;            // points added after each character
  double lineSpacing = 0;         // points added between lines
  int alignment = 0;              // 0 leading, 1 center, 2 trailing
  std::string language = "fr";    // for shaping and line breaking
  friend bool operator==(const TextStyle&, const TextStyle&) = default;
};

struct StyledText {
  std::vector<StyledRun> runs;
  TextStyle style;
  friend bool operator==(const StyledText&, const StyledText&) = default;
};

// The result of fitting a text into a proposed size: its size, the scale
// applied to every font (1 unless it had to shrink) and whether it was cut
// with an ellipsis.
struct TextFit {
  Size size;
  double scale = 1;
  bool truncated = false;
  int lineCount = 0;
  friend bool operator==(const TextFit&, const TextFit&) = default;
};

class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  // Fits `text` into at most `proposal` (an unspecified axis is unbounded):
  // lines wrap at the proposed width, stop at the line limit or at the
  // proposed height (at least one line), the fonts shrink as little as
  // needed down to the minimum scale factor, then the last line is cut
  // with "…". The answer never exceeds a specified width.
  [[nodiscard]] virtual TextFit fit(const StyledText& text, const ProposedSize& proposal) const = 0;
  // The size of a system symbol drawn at `font`.
  [[nodiscard]] virtual Size symbolSize(const std::string& name, const Font& font) const = 0;
};

}  // namespace kelpo::ui
