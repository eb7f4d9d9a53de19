#include "base/text/quoted_text.h"

#include <cstdint>

namespace kelpo {
namespace {

constexpr char hexDigits[] = "0123456789ABCDEF";

void appendHex(std::string& out, std::string_view prefix, std::uint32_t value, int digits) {
  out += prefix;
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
    out += hexDigits[(value >> shift) & 0xF];
}

// The length of the well-formed UTF-8 sequence at the start of `text`, or 0
// (overlong forms, surrogates and values past U+10FFFF are not well formed).
[[nodiscard]] std::size_t sequenceLength(std::string_view text, std::uint32_t& codePoint) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  std::uint32_t lowest = 0;
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, lowest = 0x80, codePoint = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, lowest = 0x800, codePoint = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, lowest = 0x10000, codePoint = lead & 0x07;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    codePoint = (codePoint << 6) | (byte(i) & 0x3F);
  }
  const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
  if (codePoint < lowest || codePoint > 0x10FFFF || surrogate) return 0;
  return length;
}

[[nodiscard]] bool isControl(std::uint32_t codePoint) {
  return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
}

}  // namespace

std::string quotedText(std::string_view text) {
  std::string out = "\"";
  out.reserve(text.size() + 2);
  while (!text.empty()) {
    std::uint32_t codePoint = 0;
    const std::size_t length = sequenceLength(text, codePoint);
    if (length == 0) {
      appendHex(out, "\\x", static_cast<unsigned char>(text.front()), 2);
      text.remove_prefix(1);
      continue;
    }
    switch (codePoint) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (isControl(codePoint)) {
          appendHex(out, "\\u", codePoint, 4);
        } else {
          out += text.substr(0, length);
        }
    }
    text.remove_prefix(length);
  }
  out += '"';
  return out;
}

}  // namespace kelpo
