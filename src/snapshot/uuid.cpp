#include "snapshot/uuid.h"

#include <cstddef>
#include <random>

namespace kelpo {
namespace {

constexpr std::size_t canonicalLength = 36;

[[nodiscard]] bool isHyphenPosition(std::size_t index) {
  return index == 8 || index == 13 || index == 18 || index == 23;
}

[[nodiscard]] std::optional<std::uint8_t> hexDigitValue(char c) {
  if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<std::uint8_t>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<std::uint8_t>(c - 'A' + 10);
  return std::nullopt;
}

}  // namespace

std::optional<Uuid> Uuid::parse(std::string_view text) {
  if (text.size() != canonicalLength) return std::nullopt;
  std::array<std::uint8_t, 16> bytes{};
  std::size_t nibble = 0;
  for (std::size_t index = 0; index < text.size(); ++index) {
    if (isHyphenPosition(index)) {
      if (text[index] != '-') return std::nullopt;
      continue;
    }
    const auto value = hexDigitValue(text[index]);
    if (!value) return std::nullopt;
    auto& byte = bytes[nibble / 2];
    byte = static_cast<std::uint8_t>(nibble % 2 == 0 ? *value << 4 : byte | *value);
    ++nibble;
  }
  return Uuid(bytes);
}

Uuid Uuid::random() {
  // std::random_device reads the kernel's entropy source (getrandom or
  // /dev/urandom) on Linux; a fresh one per call keeps no shared state.
  std::random_device device;
  std::array<std::uint8_t, 16> bytes{};
  for (std::size_t index = 0; index < bytes.size(); index += 4) {
    const auto word = static_cast<std::uint32_t>(device());
    for (std::size_t shift = 0; shift < 4; ++shift) {
      bytes[index + shift] = static_cast<std::uint8_t>(word >> (8 * shift));
    }
  }
  bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40);  // version 4
  bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
  return Uuid(bytes);
}

std::string Uuid::string() const {
  static constexpr char digits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(canonicalLength);
  for (std::size_t index = 0; index < bytes_.size(); ++index) {
    if (index == 4 || index == 6 || index == 8 || index == 10) text.push_back('-');
    text.push_back(digits[bytes_[index] >> 4]);
    text.push_back(digits[bytes_[index] & 0x0F]);
  }
  return text;
}

}  // namespace kelpo
