#pragma once

// A text measurer with fixed metrics, so that layout tests do not depend on
// fonts: every character is 0.5 x the font size wide (plus tracking), a
// line is 1.2 x the largest font size high, lines wrap at any character.
// It shrinks by the minimum scale factor (exactly for one line, by steps of
// 0.01 otherwise) before it cuts, as the real one does.

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>
#include <vector>

#include "engine/text/text_layout.h"

namespace kelpo::ui::testing {

class FakeTextMeasurer final : public TextMeasurer {
 public:
  static constexpr double widthPerSize = 0.5;
  static constexpr double heightPerSize = 1.2;

  [[nodiscard]] TextFit fit(const StyledText& text, const ProposedSize& proposal) const override {
    const std::vector<double> widths = characterWidths(text, 1);
    if (widths.empty()) return {};
    const int allowed = allowedLines(text, proposal, 1);
    const auto width = proposal.width.value;

    double scale = 1;
    if (width && !fits(text, *width, allowed, 1)) {
      const double least = std::clamp(text.style.minimumScaleFactor, 0.0, 1.0);
      if (allowed == 1) {
        scale = std::max(least, *width / total(widths));
      } else {
        scale = least;
        for (double s = 0.99; s > least; s -= 0.01) {
          if (fits(text, *width, allowedLines(text, proposal, s), s)) {
            scale = s;
            break;
          }
        }
      }
    }
    const std::vector<double> scaled = characterWidths(text, scale);
    const Wrapped wrapped = wrap(scaled, width.value_or(total(scaled)));
    const int shown = std::min(wrapped.lines, allowedLines(text, proposal, scale));
    const double widest = width ? std::min(*width, wrapped.widest) : wrapped.widest;
    TextFit fit;
    fit.scale = scale;
    fit.truncated = wrapped.lines > shown;
    fit.lineCount = shown;
    fit.size = {widest, shown * lineHeight(text, scale) + (shown - 1) * text.style.lineSpacing};
    return fit;
  }

  [[nodiscard]] Size symbolSize(const std::string& /*name*/, const Font& font) const override {
    return {font.size, font.size};
  }

 private:
  static std::vector<double> characterWidths(const StyledText& text, double scale) {
    std::vector<double> widths;
    for (const StyledRun& run : text.runs)
      for (unsigned char c : run.text)
        if ((c & 0xC0) != 0x80)
          widths.push_back(widthPerSize * run.font.size * scale + text.style.tracking);
    return widths;
  }
  static double total(const std::vector<double>& widths) {
    return std::accumulate(widths.begin(), widths.end(), 0.0);
  }
  static double lineHeight(const StyledText& text, double scale) {
    double size = 0;
    for (const StyledRun& run : text.runs) size = std::max(size, run.font.size);
    return heightPerSize * size * scale;
  }
  // Lines break before the character that would overflow `width`.
  struct Wrapped {
    int lines = 1;
    double widest = 0;
  };
  static Wrapped wrap(const std::vector<double>& widths, double width) {
    Wrapped wrapped;
    double used = 0;
    for (double w : widths) {
      if (used > 0 && used + w > width + 1e-9) {
        ++wrapped.lines;
        used = 0;
      }
      used += w;
      wrapped.widest = std::max(wrapped.widest, used);
    }
    return wrapped;
  }
  static int allowedLines(const StyledText& text, const ProposedSize& proposal, double scale) {
    int allowed = text.style.lineLimit.value_or(1 << 20);
    if (const auto height = proposal.height.value) {
      const double step = lineHeight(text, scale) + text.style.lineSpacing;
      const int byHeight =
          static_cast<int>(std::floor((*height + text.style.lineSpacing) / step + 1e-9));
      allowed = std::min(allowed, std::max(1, byHeight));
    }
    return std::max(1, allowed);
  }
  static bool fits(const StyledText& text, double width, int allowed, double scale) {
    return wrap(characterWidths(text, scale), width).lines <= allowed;
  }
};

}  // namespace kelpo::ui::testing
