#include "engine/text/pango_text_measurer.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>

#include "engine/text/pango_fonts.h"
#include "engine/text/pango_text_layout.h"
#include "engine/text/symbol_metrics.h"

namespace kelpo::ui {

namespace {

// Lengths closer than this (in points) count as equal when testing whether
// lines fit, so that a text measured once fits the size it was given.
constexpr double tolerance = 1.0 / 64;
constexpr int bisectionSteps = 8;

[[nodiscard]] std::optional<double> finiteLength(const ProposedLength& length) {
  if (!length.isSpecified() || length.isInfinite() || std::isnan(*length.value)) {
    return std::nullopt;
  }
  return std::max(0.0, *length.value);
}

[[nodiscard]] bool isEmpty(const StyledText& text) {
  return std::ranges::all_of(text.runs, [](const StyledRun& run) { return run.text.empty(); });
}

// Whether Pango had to break a line inside a word: a line that starts where
// the text offers no line break opportunity.
[[nodiscard]] bool breaksInsideWord(PangoLayout* layout) {
  int attributeCount = 0;
  const PangoLogAttr* attributes = pango_layout_get_log_attrs_readonly(layout, &attributeCount);
  const char* text = pango_layout_get_text(layout);
  const int lineCount = pango_layout_get_line_count(layout);
  for (int i = 1; i < lineCount; ++i) {
    const PangoLayoutLine* line = pango_layout_get_line_readonly(layout, i);
    const auto offset = g_utf8_pointer_to_offset(text, text + line->start_index);
    if (offset < attributeCount && !attributes[offset].is_line_break &&
        !attributes[offset].is_mandatory_break) {
      // A line after a hard line break starts a paragraph; Pango marks its
      // first character as a break too, so only soft breaks land here.
      return true;
    }
  }
  return false;
}

[[nodiscard]] bool anyLineWiderThan(PangoLayout* layout, double width) {
  const int lineCount = pango_layout_get_line_count(layout);
  for (int i = 0; i < lineCount; ++i) {
    PangoRectangle logical{};
    pango_layout_line_get_extents(pango_layout_get_line_readonly(layout, i), nullptr, &logical);
    if (static_cast<double>(logical.width) / PANGO_SCALE > width + tolerance) return true;
  }
  return false;
}

// How many whole lines of `layout` fit in `height` (at least one).
[[nodiscard]] int linesWithin(PangoLayout* layout, double height) {
  int count = 0;
  PangoLayoutIter* iter = pango_layout_get_iter(layout);
  do {
    PangoRectangle logical{};
    pango_layout_iter_get_line_extents(iter, nullptr, &logical);
    if (static_cast<double>(logical.y + logical.height) / PANGO_SCALE > height + tolerance) break;
    ++count;
  } while (pango_layout_iter_next_line(iter));
  pango_layout_iter_free(iter);
  return std::max(1, count);
}

// What one scale gives: the lines the text needs unlimited, the lines it
// may have, and whether it fits in them without breaking a word.
struct Attempt {
  double scale = 1;
  std::optional<int> allowedLines;
  bool withinLines = false;  // no line needs to be dropped
  bool fits = false;         // within the lines, and no word broken
  LayoutHandle unlimited;    // the text at this scale with all its lines
};

class Fitter {
 public:
  Fitter(PangoContext* context, const StyledText& text, const ProposedSize& proposal)
      : context_(context),
        text_(text),
        width_(finiteLength(proposal.width)),
        height_(finiteLength(proposal.height)) {}

  [[nodiscard]] TextFit fit() const {
    Attempt full = attempt(1);
    const double minimumScale = minimumScaleFactor();
    if (full.fits || minimumScale >= 1) return result(std::move(full));
    Attempt smallest = attempt(minimumScale);
    if (!smallest.fits) return result(std::move(smallest));
    return result(largestFittingScale(std::move(smallest)));
  }

 private:
  [[nodiscard]] double minimumScaleFactor() const {
    const double factor = text_.style.minimumScaleFactor;
    return std::isfinite(factor) ? std::clamp(factor, 0.01, 1.0) : 1.0;
  }

  [[nodiscard]] TextLayout layout(double scale, std::optional<int> maxLines) const {
    return makeTextLayout(context_, text_, {width_, scale, maxLines, std::nullopt});
  }

  [[nodiscard]] Attempt attempt(double scale) const {
    LayoutHandle unlimited = layout(scale, std::nullopt).layout;
    std::optional<int> allowed;
    if (text_.style.lineLimit) allowed = std::max(1, *text_.style.lineLimit);
    if (height_) {
      const int byHeight = linesWithin(unlimited.get(), *height_);
      allowed = allowed ? std::min(*allowed, byHeight) : byHeight;
    }
    const int lines = pango_layout_get_line_count(unlimited.get());
    const bool withinLines = !allowed || lines <= *allowed;
    const bool fits = withinLines && (!width_ || (!breaksInsideWord(unlimited.get()) &&
                                                  !anyLineWiderThan(unlimited.get(), *width_)));
    return {scale, allowed, withinLines, fits, std::move(unlimited)};
  }

  // Bisects between a scale that fits and full size, which does not. A
  // one-line text first tries the ratio of the width to its natural width:
  // without hinting, widths grow in proportion to the font size, so when
  // that ratio fits it is the answer.
  [[nodiscard]] Attempt largestFittingScale(Attempt fitting) const {
    double tooLarge = 1;
    if (const std::optional<double> guess = oneLineGuess();
        guess && *guess > fitting.scale && *guess < tooLarge) {
      if (Attempt a = attempt(*guess); a.fits) return a;
      tooLarge = *guess;
    }
    for (int step = 0; step < bisectionSteps; ++step) {
      const double middle = (fitting.scale + tooLarge) / 2;
      if (Attempt a = attempt(middle); a.fits) {
        fitting = std::move(a);
      } else {
        tooLarge = middle;
      }
    }
    return fitting;
  }

  [[nodiscard]] std::optional<double> oneLineGuess() const {
    if (text_.style.lineLimit != 1 || !width_) return std::nullopt;
    const LayoutHandle natural =
        makeTextLayout(context_, text_, {std::nullopt, 1, 1, std::nullopt}).layout;
    const double naturalWidth = logicalSize(natural.get()).width;
    if (!(naturalWidth > 0)) return std::nullopt;
    // Just under the ratio, so that rounding to Pango units cannot tip it.
    return *width_ / naturalWidth * (1 - 1e-4);
  }

  // The text at the chosen scale: as it came when all its lines are
  // allowed, else laid out again with the line limit and the "…".
  [[nodiscard]] TextFit result(Attempt chosen) const {
    const TextLayout final = chosen.withinLines ? TextLayout{std::move(chosen.unlimited), false}
                                                : layout(chosen.scale, chosen.allowedLines);
    Size size = logicalSize(final.layout.get());
    if (width_) size.width = std::min(size.width, *width_);
    return {size, chosen.scale, final.truncated, pango_layout_get_line_count(final.layout.get())};
  }

  PangoContext* context_;
  const StyledText& text_;
  std::optional<double> width_;
  std::optional<double> height_;
};

void appendBytes(std::string& key, const void* bytes, std::size_t size) {
  key.append(static_cast<const char*>(bytes), size);
}

void appendLength(std::string& key, const ProposedLength& length) {
  const double value = length.value.value_or(-1);
  appendBytes(key, &value, sizeof value);
}

// Everything a fit depends on, as one string: the runs' texts and fonts (not
// their colours), the text style and the proposal (its width, and its
// height unless the text may have only one line).
[[nodiscard]] std::string fitKey(const StyledText& text, const ProposedSize& proposal) {
  std::string key;
  for (const StyledRun& run : text.runs) {
    key += run.text;
    key += '\0';
    key += run.font.family;
    key += '\0';
    appendBytes(key, &run.font.size, sizeof run.font.size);
    appendBytes(key, &run.font.weight, sizeof run.font.weight);
    key += run.font.monospacedDigits ? '1' : '0';
  }
  const TextStyle& style = text.style;
  const int lineLimit = style.lineLimit.value_or(-1);
  appendBytes(key, &lineLimit, sizeof lineLimit);
  appendBytes(key, &style.minimumScaleFactor, sizeof style.minimumScaleFactor);
  appendBytes(key, &style.tracking, sizeof style.tracking);
  appendBytes(key, &style.lineSpacing, sizeof style.lineSpacing);
  appendBytes(key, &style.alignment, sizeof style.alignment);
  key += style.language;
  key += '\0';
  appendLength(key, proposal.width);
  // A text of one line is allowed that line whatever the height, so the
  // height cannot change its fit; layout proposes several heights for the
  // same width, and each would otherwise shape the text again.
  if (!style.lineLimit || *style.lineLimit > 1) appendLength(key, proposal.height);
  return key;
}

// Fits remembered per measurer. Layout asks for the same text at the same
// proposals many times (once to learn how flexible it is, again to size it,
// again to place it), and Pango's shaping is by far the dearest part.
constexpr std::size_t fitCacheCapacity = 4096;

}  // namespace

struct PangoTextMeasurer::State {
  PangoContextHandle context = makeWidgetPangoContext();
  std::unordered_map<std::string, TextFit> fits;
};

PangoTextMeasurer::PangoTextMeasurer() : state_(std::make_unique<State>()) {}
PangoTextMeasurer::~PangoTextMeasurer() = default;
PangoTextMeasurer::PangoTextMeasurer(PangoTextMeasurer&&) noexcept = default;
PangoTextMeasurer& PangoTextMeasurer::operator=(PangoTextMeasurer&&) noexcept = default;

TextFit PangoTextMeasurer::fit(const StyledText& text, const ProposedSize& proposal) const {
  // An empty text takes no space, as an empty text view does in any layout.
  if (isEmpty(text)) return {};
  const StyledText shown = laidOutText(text);
  std::string key = fitKey(shown, proposal);
  if (const auto known = state_->fits.find(key); known != state_->fits.end()) return known->second;
  const TextFit fitted = Fitter(state_->context.get(), shown, proposal).fit();
  if (state_->fits.size() >= fitCacheCapacity) state_->fits.clear();
  state_->fits.emplace(std::move(key), fitted);
  return fitted;
}

Size PangoTextMeasurer::symbolSize(const std::string& name, const Font& font) const {
  return symbolNamed(name) ? symbolBoxSize(font) : Size{};
}

}  // namespace kelpo::ui
