#include "desktop/settings/display_scale.h"

#include <charconv>
#include <cstring>

namespace kelpo::desktop {

std::optional<std::string> refusedDisplayScale(const char* value) {
  if (value == nullptr || *value == '\0') return std::nullopt;
  const char* end = value + std::strlen(value);
  int scale = 0;
  const auto [rest, failure] = std::from_chars(value, end, scale);
  if (failure == std::errc() && rest == end && scale >= 1 && scale <= largestDisplayScale) {
    return std::nullopt;
  }
  return "GDK_SCALE=\"" + std::string(value) + "\" cannot be drawn: use a whole number from 1 to " +
         std::to_string(largestDisplayScale) + ", or leave it unset";
}

}  // namespace kelpo::desktop
