#pragma once

#include <memory>

#include "engine/text/text_layout.h"

namespace kelpo::ui {

// Measures texts with Pango and the widget's fonts, in layout points,
// independently of the resolution they are later drawn at.
//
// Fitting: lines wrap between words at the proposed width (inside a word
// only when it cannot fit alone). When the text at full size needs more
// lines than the line limit or the proposed height allows, or a word has to
// be broken, the fonts shrink to the largest scale in [minimumScaleFactor,
// 1] at which it fits (found by a first exact guess for one-line texts, then
// a bisection of eight steps); if even the smallest scale does not fit, the
// text is cut with "…" at that scale.
//
// Each call builds its own layouts on one shared Pango context, so calls
// are cheap; a measurer must be used on the thread that made it (make one
// per thread).
class PangoTextMeasurer final : public TextMeasurer {
 public:
  PangoTextMeasurer();
  ~PangoTextMeasurer() override;
  PangoTextMeasurer(PangoTextMeasurer&&) noexcept;
  PangoTextMeasurer& operator=(PangoTextMeasurer&&) noexcept;

  [[nodiscard]] TextFit fit(const StyledText& text, const ProposedSize& proposal) const override;
  // A square of 1.15 times the font size for the known symbols, nothing
  // for other names.
  [[nodiscard]] Size symbolSize(const std::string& name, const Font& font) const override;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace kelpo::ui
