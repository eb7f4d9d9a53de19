#include "snapshot/widget_snapshot.h"

namespace kelpo {

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
