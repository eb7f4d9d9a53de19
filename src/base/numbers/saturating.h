#pragma once

#include <cstdint>
#include <limits>

namespace kelpo {

// Arithmetic on the snapshot's 64-bit figures that clamps instead of
// overflowing: a result beyond the range is pinned to its nearer end.

[[nodiscard]] constexpr std::int64_t saturatingAdd(std::int64_t a, std::int64_t b) {
  std::int64_t sum = 0;
  if (!__builtin_add_overflow(a, b, &sum)) return sum;
  return a > 0 ? std::numeric_limits<std::int64_t>::max()
               : std::numeric_limits<std::int64_t>::min();
}

[[nodiscard]] constexpr std::int64_t saturatingMultiply(std::int64_t a, std::int64_t b) {
  std::int64_t product = 0;
  if (!__builtin_mul_overflow(a, b, &product)) return product;
  return (a > 0) == (b > 0) ? std::numeric_limits<std::int64_t>::max()
                            : std::numeric_limits<std::int64_t>::min();
}

}  // namespace kelpo
