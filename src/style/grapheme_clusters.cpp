#include "style/grapheme_clusters.h"

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/utext.h>

#include <algorithm>
#include <memory>

namespace kelpo {
namespace {

struct UTextCloser {
  void operator()(UText* text) const { utext_close(text); }
};
using UTextPtr = std::unique_ptr<UText, UTextCloser>;

bool isAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// In ASCII every byte is a character of its own, except that a carriage
// return followed by a line feed forms one character.
std::vector<std::size_t> asciiBoundaries(std::string_view text) {
  std::vector<std::size_t> boundaries;
  boundaries.reserve(text.size() + 1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i > 0 && text[i - 1] == '\r' && text[i] == '\n') continue;
    boundaries.push_back(i);
  }
  boundaries.push_back(text.size());
  return boundaries;
}

// Every byte is a boundary: the fallback should ICU be unavailable.
std::vector<std::size_t> byteBoundaries(std::string_view text) {
  std::vector<std::size_t> boundaries(text.size() + 1);
  for (std::size_t i = 0; i <= text.size(); ++i) boundaries[i] = i;
  return boundaries;
}

std::vector<std::size_t> icuBoundaries(std::string_view text) {
  UErrorCode status = U_ZERO_ERROR;
  UTextPtr utext(utext_openUTF8(nullptr, text.data(), static_cast<int64_t>(text.size()), &status));
  std::unique_ptr<icu::BreakIterator> iterator(
      icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
  if (U_FAILURE(status) || !utext || !iterator) return byteBoundaries(text);
  iterator->setText(utext.get(), status);
  if (U_FAILURE(status)) return byteBoundaries(text);

  // A UTF-8 UText reports native indexes, which are byte offsets. Keep only
  // offsets that move forward inside the text, so callers can slice safely.
  std::vector<std::size_t> boundaries{0};
  for (int32_t at = iterator->next(); at != icu::BreakIterator::DONE; at = iterator->next()) {
    const auto offset = static_cast<std::size_t>(at);
    if (at > 0 && offset <= text.size() && offset > boundaries.back()) boundaries.push_back(offset);
  }
  if (boundaries.back() != text.size()) boundaries.push_back(text.size());
  return boundaries;
}

}  // namespace

std::vector<std::size_t> graphemeBoundaries(std::string_view text) {
  if (isAscii(text)) return asciiBoundaries(text);
  return icuBoundaries(text);
}

}  // namespace kelpo
