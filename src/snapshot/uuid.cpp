#include "snapshot/uuid.h"

#include <cstddef>
#include <random>

namespace kelpo {
namespace {

constexpr std::size_t canonicalLength = 36;

// The value of each hexadecimal digit, -1 for every other byte.
constexpr std::array<std::int8_t, 256> hexDigitValues = [] {
  std::array<std::int8_t, 256> values{};
  values.fill(-1);
  for (int digit = 0; digit < 10; ++digit) values['0' + digit] = static_cast<std::int8_t>(digit);
  for (int digit = 0; digit < 6; ++digit) {
    values['a' + digit] = static_cast<std::int8_t>(10 + digit);
    values['A' + digit] = static_cast<std::int8_t>(10 + digit);
  }
  return values;
}();

// Where each byte's two digits start in the 8-4-4-4-12 form.
constexpr std::array<std::size_t, 16> byteOffsets = {0,  2,  4,  6,  9,  11, 14, 16,
                                                     19, 21, 24, 26, 28, 30, 32, 34};

[[nodiscard]] int digitValue(char c) {
  return hexDigitValues[static_cast<unsigned char>(c)];
}

}  // namespace

std::optional<Uuid> Uuid::parse(std::string_view text) {
  if (text.size() != canonicalLength || text[8] != '-' || text[13] != '-' || text[18] != '-' ||
      text[23] != '-') {
    return std::nullopt;
  }
  std::array<std::uint8_t, 16> bytes{};
  for (std::size_t index = 0; index < bytes.size(); ++index) {
    const int high = digitValue(text[byteOffsets[index]]);
    const int low = digitValue(text[byteOffsets[index] + 1]);
    if ((high | low) < 0) return std::nullopt;
    bytes[index] = static_cast<std::uint8_t>(high << 4 | low);
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
