#include "engine/text/pango_text_layout.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "engine/text/pango_fonts.h"

namespace kelpo::ui {

namespace {

[[nodiscard]] int toPangoUnits(double points) {
  const double units = std::ceil(points * PANGO_SCALE);
  return static_cast<int>(std::clamp(units, 0.0, static_cast<double>(INT_MAX / 2)));
}

// The one colour a run is drawn in, since Pango colours runs only with a
// solid colour: the colour itself, or a gradient's first colour.
[[nodiscard]] Rgba runColor(const Paint& paint, ColorScheme scheme) {
  if (const auto* color = std::get_if<Color>(&paint)) return color->resolve(scheme);
  const auto* linear = std::get_if<LinearGradient>(&paint);
  const std::vector<Color>& stops =
      linear != nullptr ? linear->colors : std::get<RadialGradient>(paint).colors;
  return stops.empty() ? Rgba{0, 0, 0, 0} : stops.front().resolve(scheme);
}

[[nodiscard]] guint16 toColorChannel(double component) {
  return static_cast<guint16>(std::lround(std::clamp(component, 0.0, 1.0) * 65535));
}

constexpr std::string_view replacementCharacter = "\xEF\xBF\xBD";
constexpr std::string_view ellipsis = "\xE2\x80\xA6";

// Text from the snapshot may hold bytes that are not UTF-8, or NULs; Pango
// refuses such text, so each becomes U+FFFD.
[[nodiscard]] std::string validUtf8(const std::string& text) {
  std::string valid;
  valid.reserve(text.size());
  const char* cursor = text.data();
  const char* const end = text.data() + text.size();
  while (cursor < end) {
    const char* validEnd = nullptr;
    g_utf8_validate(cursor, end - cursor, &validEnd);
    valid.append(cursor, validEnd);
    if (validEnd == end) break;
    valid += replacementCharacter;
    cursor = validEnd + 1;
  }
  return valid;
}

void insertAttribute(PangoAttrList* list, PangoAttribute* attribute, std::size_t start,
                     std::size_t end) {
  attribute->start_index = static_cast<guint>(start);
  attribute->end_index = static_cast<guint>(end);
  pango_attr_list_insert(list, attribute);
}

void addRunAttributes(PangoAttrList* list, const StyledRun& run, std::size_t start, std::size_t end,
                      const TextLayoutRequest& request) {
  const FontDescriptionHandle description = makeFontDescription(run.font, request.scale);
  insertAttribute(list, pango_attr_font_desc_new(description.get()), start, end);
  if (run.font.monospacedDigits) {
    insertAttribute(list, pango_attr_font_features_new("tnum"), start, end);
  }
  if (request.foregroundScheme) {
    const Rgba color = runColor(run.foreground, *request.foregroundScheme);
    insertAttribute(
        list,
        pango_attr_foreground_new(toColorChannel(color.red), toColorChannel(color.green),
                                  toColorChannel(color.blue)),
        start, end);
    // Pango reads an alpha of 0 as "not set", so a clear run keeps the
    // faintest alpha it can express instead.
    insertAttribute(
        list, pango_attr_foreground_alpha_new(std::max<guint16>(1, toColorChannel(color.alpha))),
        start, end);
  }
}

void addWholeTextAttributes(PangoAttrList* list, const TextStyle& style, double scale,
                            std::size_t length) {
  // Words are broken inside only when they cannot fit alone, and without
  // adding a hyphen.
  insertAttribute(list, pango_attr_insert_hyphens_new(FALSE), 0, length);
  insertAttribute(list, pango_attr_language_new(pango_language_from_string(style.language.c_str())),
                  0, length);
  if (style.tracking != 0 && std::isfinite(style.tracking)) {
    insertAttribute(list,
                    pango_attr_letter_spacing_new(
                        static_cast<int>(std::lround(style.tracking * scale * PANGO_SCALE))),
                    0, length);
  }
}

[[nodiscard]] PangoAlignment pangoAlignment(int alignment) {
  switch (alignment) {
    case 1:
      return PANGO_ALIGN_CENTER;
    case 2:
      return PANGO_ALIGN_RIGHT;
    default:
      return PANGO_ALIGN_LEFT;
  }
}

// The layout of `text`, whose runs hold valid UTF-8. A line limit is set
// as a negative height, which Pango counts per paragraph.
[[nodiscard]] LayoutHandle layoutOf(PangoContext* context, const StyledText& text,
                                    const TextLayoutRequest& request) {
  LayoutHandle layout(pango_layout_new(context));
  const AttrListHandle attributes(pango_attr_list_new());
  std::string joined;
  for (const StyledRun& run : text.runs) {
    const std::size_t start = joined.size();
    joined += run.text;
    if (joined.size() > start)
      addRunAttributes(attributes.get(), run, start, joined.size(), request);
  }
  addWholeTextAttributes(attributes.get(), text.style, request.scale, joined.size());

  pango_layout_set_text(layout.get(), joined.c_str(), static_cast<int>(joined.size()));
  pango_layout_set_attributes(layout.get(), attributes.get());
  pango_layout_set_alignment(layout.get(), pangoAlignment(text.style.alignment));
  if (text.style.lineSpacing > 0 && std::isfinite(text.style.lineSpacing)) {
    pango_layout_set_spacing(layout.get(), toPangoUnits(text.style.lineSpacing));
  }
  pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
  pango_layout_set_width(layout.get(), request.width ? toPangoUnits(*request.width) : -1);
  if (request.maxLines) {
    pango_layout_set_ellipsize(layout.get(), PANGO_ELLIPSIZE_END);
    pango_layout_set_height(layout.get(), -std::max(1, *request.maxLines));
  }
  return layout;
}

// No text of the widget can show more characters than this: a widget line
// holds at most about 120 characters, even at the smallest size any text
// may shrink to, and a medium widget about 18 lines. Snapshot texts are not
// bounded (a title may run to megabytes), and Pango's wrapping and
// ellipsizing grow faster than the text, so longer texts are cut here,
// with "…", before they are laid out.
constexpr glong longestLine = 256;
constexpr glong longestLaidOutText = 4096;

[[nodiscard]] glong characterLimit(const TextStyle& style) {
  if (!style.lineLimit || *style.lineLimit < 1) return longestLaidOutText;
  return std::min<glong>(longestLaidOutText, longestLine * *style.lineLimit);
}

}  // namespace

StyledText laidOutText(const StyledText& text) {
  StyledText valid = text;
  glong room = characterLimit(text.style);
  for (std::size_t i = 0; i < valid.runs.size(); ++i) {
    std::string& run = valid.runs[i].text;
    if (!g_utf8_validate(run.data(), static_cast<gssize>(run.size()), nullptr)) {
      run = validUtf8(run);
    }
    const glong length = g_utf8_strlen(run.data(), static_cast<gssize>(run.size()));
    if (length <= room) {
      room -= length;
      continue;
    }
    run.resize(static_cast<std::size_t>(g_utf8_offset_to_pointer(run.data(), room) - run.data()));
    run += ellipsis;
    valid.runs.resize(i + 1);
    break;
  }
  return valid;
}

namespace {

// The text up to byte `end` of the joined runs, ended with "…".
[[nodiscard]] StyledText cutWithEllipsis(StyledText text, std::size_t end) {
  std::size_t start = 0;
  std::size_t lastKept = 0;
  for (std::size_t i = 0; i < text.runs.size(); ++i) {
    std::string& run = text.runs[i].text;
    const std::size_t keep = end > start ? std::min(run.size(), end - start) : 0;
    start += run.size();
    run.resize(keep);
    if (keep > 0) lastKept = i;
  }
  if (!text.runs.empty()) text.runs[lastKept].text += ellipsis;
  return text;
}

}  // namespace

TextLayout makeTextLayout(PangoContext* context, const StyledText& text,
                          const TextLayoutRequest& request) {
  const StyledText valid = laidOutText(text);
  LayoutHandle layout = layoutOf(context, valid, request);
  if (!request.maxLines) return {std::move(layout), false};
  const int maxLines = std::max(1, *request.maxLines);
  if (pango_layout_get_line_count(layout.get()) <= maxLines) {
    const bool ellipsized = pango_layout_is_ellipsized(layout.get()) != FALSE;
    return {std::move(layout), ellipsized};
  }
  // Several paragraphs together pass the limit: the text is cut after the
  // last line allowed, which then ends with "…".
  const PangoLayoutLine* last = pango_layout_get_line_readonly(layout.get(), maxLines - 1);
  const auto end =
      static_cast<std::size_t>(last->start_index) + static_cast<std::size_t>(last->length);
  return {layoutOf(context, cutWithEllipsis(valid, end), request), true};
}

Size logicalSize(PangoLayout* layout) {
  PangoRectangle logical{};
  pango_layout_get_extents(layout, nullptr, &logical);
  return {static_cast<double>(logical.width) / PANGO_SCALE,
          static_cast<double>(logical.height) / PANGO_SCALE};
}

}  // namespace kelpo::ui
