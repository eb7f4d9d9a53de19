#pragma once

#include "base/time/instant.h"
#include "snapshot/widget_snapshot.h"

namespace kelpo {

// One timeline entry: when the host is to show it and everything it draws.
struct Entry {
  Instant date;
  WidgetSnapshot snapshot;

  friend bool operator==(const Entry&, const Entry&) = default;
};

}  // namespace kelpo
