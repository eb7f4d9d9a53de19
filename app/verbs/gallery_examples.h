#pragma once

#include <string>
#include <vector>

#include "base/time/instant.h"
#include "snapshot/widget_snapshot.h"

namespace kelpo::app {

struct GalleryExample {
  std::string name;
  WidgetSnapshot snapshot;
};

// Snapshots that together show the whole widget: each of the five modes, in
// each accent theme, with every kind of score badge, and the texts that push
// the layouts (long titles, markup-like text, an unread item). Dates are
// placed around `now` so that the next-search line shows today, tomorrow and
// a weekday.
[[nodiscard]] std::vector<GalleryExample> galleryExamples(Instant now);

}  // namespace kelpo::app
