#include "style/color_literal.h"

#include <locale.h>  // NOLINT(modernize-deprecated-headers): newlocale is POSIX, not <clocale>
#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "style/grapheme_clusters.h"

namespace kelpo {
namespace {

constexpr std::string_view rgbaPrefix = "rgba";
constexpr std::size_t rgbaOpeningLength = 5;  // "rgba("

// The "C" locale for number reading, made once and kept for the process, so
// that a decimal comma in the user's locale never changes what "0.5" means.
class CNumericLocale {
 public:
  CNumericLocale() : locale_(newlocale(LC_ALL_MASK, "C", locale_t{})) {}
  ~CNumericLocale() {
    if (locale_ != locale_t{}) freelocale(locale_);
  }
  CNumericLocale(const CNumericLocale&) = delete;
  CNumericLocale& operator=(const CNumericLocale&) = delete;
  [[nodiscard]] locale_t get() const { return locale_; }

 private:
  locale_t locale_;
};

locale_t cLocale() {
  static const CNumericLocale locale;
  return locale.get();
}

// Space, tab and the other Unicode space separators; line breaks are not.
bool isTrimmableSpace(UChar32 c) {
  return c == '\t' || u_charType(c) == U_SPACE_SEPARATOR;
}

std::string_view trimSpaces(std::string_view piece) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(piece.data());
  const auto length = static_cast<int32_t>(piece.size());
  int32_t start = 0;
  while (start < length) {
    int32_t next = start;
    UChar32 c = 0;
    U8_NEXT(bytes, next, length, c);
    if (c < 0 || !isTrimmableSpace(c)) break;
    start = next;
  }
  int32_t end = length;
  while (end > start) {
    int32_t previous = end;
    UChar32 c = 0;
    U8_PREV(bytes, start, previous, c);
    if (c < 0 || !isTrimmableSpace(c)) break;
    end = previous;
  }
  return piece.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
}

// strtod would skip these itself; a piece that starts with one is not a
// number (space and tab are already trimmed away).
bool startsWithSkippedControl(std::string_view piece) {
  switch (piece.front()) {
    case '\0':
    case '\t':
    case '\n':
    case '\v':
    case '\f':
    case '\r':
    case ' ':
      return true;
    default:
      return false;
  }
}

// A number as strtod reads it in the C locale (signs, decimals, exponents,
// hexadecimal floats, "inf", "nan"), or 0 unless the whole piece is read.
double readNumber(std::string_view piece) {
  if (piece.empty() || startsWithSkippedControl(piece)) return 0;
  const std::string text(piece);  // strtod needs a terminated string
  char* end = nullptr;
  const double value = strtod_l(text.c_str(), &end, cLocale());
  if (end != text.c_str() + text.size()) return 0;
  return value;
}

// The numbers between the commas of the rgba body: the characters `first`
// to just before `last` of `literal`, counted in grapheme clusters. A comma
// splits only when it is a character of its own (not carrying a combining
// mark); empty pieces add no number.
std::vector<double> readNumbers(std::string_view literal,
                                const std::vector<std::size_t>& boundaries, std::size_t first,
                                std::size_t last) {
  std::vector<double> numbers;
  if (first >= last) return numbers;
  std::size_t pieceStart = boundaries[first];
  auto addPiece = [&](std::size_t pieceEnd) {
    if (pieceEnd > pieceStart) {
      numbers.push_back(readNumber(trimSpaces(literal.substr(pieceStart, pieceEnd - pieceStart))));
    }
  };
  for (std::size_t i = first; i < last; ++i) {
    if (literal.substr(boundaries[i], boundaries[i + 1] - boundaries[i]) == ",") {
      addPiece(boundaries[i]);
      pieceStart = boundaries[i + 1];
    }
  }
  addPiece(boundaries[last]);
  return numbers;
}

// Drops the first five characters ("rgba(") and the last one (")").
ui::Rgba readRgbaForm(std::string_view literal, const std::vector<std::size_t>& boundaries) {
  const std::size_t characters = boundaries.size() - 1;
  const std::size_t last = characters > rgbaOpeningLength ? characters - 1 : rgbaOpeningLength;
  std::vector<double> numbers = readNumbers(literal, boundaries, rgbaOpeningLength, last);
  numbers.resize(4, 0.0);  // missing numbers read as 0; extra ones are ignored
  return ui::Rgba{numbers[0] / 255, numbers[1] / 255, numbers[2] / 255, numbers[3]};
}

std::optional<unsigned> hexDigitValue(char c) {
  if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<unsigned>(c - 'A' + 10);
  return std::nullopt;
}

// An unsigned 32-bit number in base 16 with an optional leading sign; a
// minus sign is accepted only in front of a zero value.
std::optional<std::uint32_t> readHexNumber(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : text) {
    const auto digit = hexDigitValue(c);
    if (!digit) return std::nullopt;
    value = value * 16 + *digit;
    if (value > 0xFFFFFFFFu) return std::nullopt;
  }
  if (negative && value != 0) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

ui::Rgba readHexForm(std::string_view literal, const std::vector<std::size_t>& boundaries) {
  // The first character, normally "#", is dropped whatever it is.
  const std::string_view digits = boundaries.size() > 1 ? literal.substr(boundaries[1]) : "";
  const std::uint32_t value = digits.empty() ? 0 : readHexNumber(digits).value_or(0);
  auto channel = [value](int shift) { return static_cast<double>((value >> shift) & 0xFFu) / 255; };
  return ui::Rgba{channel(16), channel(8), channel(0), 1};
}

// The literal is in the rgba form when its first four characters are
// exactly "r", "g", "b", "a" (so "rgbá" or "RGBA" are not).
bool isRgbaForm(std::string_view literal, const std::vector<std::size_t>& boundaries) {
  return literal.starts_with(rgbaPrefix) && boundaries.size() > rgbaPrefix.size() &&
         boundaries[rgbaPrefix.size()] == rgbaPrefix.size();
}

}  // namespace

ui::Rgba parseColorLiteral(std::string_view literal) {
  const auto boundaries = graphemeBoundaries(literal);
  if (isRgbaForm(literal, boundaries)) return readRgbaForm(literal, boundaries);
  return readHexForm(literal, boundaries);
}

ui::Color adaptiveColor(std::string_view light, std::string_view dark) {
  const ui::Rgba lightVariant = parseColorLiteral(light);
  const ui::Rgba darkVariant = parseColorLiteral(dark);
  return ui::Color(lightVariant, darkVariant);
}

ui::Color fixedColor(std::string_view literal) {
  return ui::Color(parseColorLiteral(literal));
}

}  // namespace kelpo
