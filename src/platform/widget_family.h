#pragma once

namespace kelpo {

// The size classes of a widget instance. The widget offers the first two;
// the others exist so that "any other family" can be said.
enum class WidgetFamily {
  systemSmall,
  systemMedium,
  systemLarge,
  systemExtraLarge,
  accessoryCircular,
  accessoryRectangular,
  accessoryInline,
};

}  // namespace kelpo
