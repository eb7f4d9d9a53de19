#include "snapshot/widget_snapshot.h"

#include "platform/clock.h"

namespace kelpo {

Instant currentInstant() {
  return SystemClock().now();
}

std::string_view rawValue(Gallery gallery) {
  switch (gallery) {
    case Gallery::stack:
      return "stack";
    case Gallery::suggestion:
      return "suggestion";
    case Gallery::list:
      return "list";
    case Gallery::surface:
      return "surface";
  }
  return "stack";
}

std::optional<Gallery> galleryFromRawValue(std::string_view text) {
  for (const Gallery gallery : allGalleries) {
    if (rawValue(gallery) == text) return gallery;
  }
  return std::nullopt;
}

}  // namespace kelpo
