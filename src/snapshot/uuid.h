#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelpo {

// A 128-bit identifier in the 8-4-4-4-12 hexadecimal form.
class Uuid {
 public:
  Uuid() = default;
  explicit Uuid(const std::array<std::uint8_t, 16>& bytes) : bytes_(bytes) {}

  // Exactly 36 characters, hyphens at 8, 13, 18 and 23, hex digits in either
  // case elsewhere; nothing for any other text.
  [[nodiscard]] static std::optional<Uuid> parse(std::string_view text);
  // A fresh random (version 4) identifier.
  [[nodiscard]] static Uuid random();

  // The standard string form, upper-case hexadecimal.
  [[nodiscard]] std::string string() const;
  [[nodiscard]] const std::array<std::uint8_t, 16>& bytes() const { return bytes_; }

  friend bool operator==(const Uuid&, const Uuid&) = default;

 private:
  std::array<std::uint8_t, 16> bytes_{};
};

}  // namespace kelpo
