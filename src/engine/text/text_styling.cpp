#include "engine/text/text_styling.h"

#include <unicode/locid.h>
#include <unicode/unistr.h>

namespace kelpo::ui {

namespace {

std::string runText(const Text::Run& run, const Environment& environment) {
  if (run.phrase) return localize(*run.phrase, environment.phrases.get());
  return run.verbatim;
}

// "fr_FR" -> "fr": the language the shaper and line breaker work in.
std::string languageOf(const std::string& locale) {
  const auto end = locale.find_first_of("_-@");
  return locale.substr(0, end);
}

int alignmentIndex(TextAlignment alignment) {
  switch (alignment) {
    case TextAlignment::leading:
      return 0;
    case TextAlignment::center:
      return 1;
    case TextAlignment::trailing:
      return 2;
  }
  return 0;
}

}  // namespace

std::string applyTextCase(std::string_view text, TextCase textCase, const std::string& locale) {
  icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(
      icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
  const icu::Locale icuLocale(locale.c_str());
  if (textCase == TextCase::uppercase) {
    unicode.toUpper(icuLocale);
  } else {
    unicode.toLower(icuLocale);
  }
  std::string result;
  unicode.toUTF8String(result);
  return result;
}

StyledText styleText(const std::vector<Text::Run>& runs, const TextEnvironment& style,
                     const Environment& environment) {
  StyledText styled;
  for (const Text::Run& run : runs) {
    StyledRun out;
    out.text = runText(run, environment);
    if (style.textCase) out.text = applyTextCase(out.text, *style.textCase, environment.locale);
    out.font = run.font.value_or(style.font);
    if (run.weight) out.font.weight = *run.weight;
    out.foreground = run.foreground.value_or(style.foreground);
    styled.runs.push_back(std::move(out));
  }
  styled.style.lineLimit = style.lineLimit;
  styled.style.minimumScaleFactor = style.minimumScaleFactor;
  styled.style.tracking = style.tracking;
  styled.style.lineSpacing = style.lineSpacing;
  styled.style.alignment = alignmentIndex(style.alignment);
  styled.style.language = languageOf(environment.locale);
  return styled;
}

std::string plainText(const std::vector<Text::Run>& runs, const Environment& environment) {
  std::string text;
  for (const Text::Run& run : runs) text += runText(run, environment);
  return text;
}

}  // namespace kelpo::ui
