#pragma once

// What the desktop host asks of the widget it shows, in the spirit of a
// widget configuration: a timeline request that answers with what to draw
// and when to ask again. The host knows nothing of snapshots or layouts.

#include <functional>

#include "base/time/instant.h"
#include "engine/views/environment.h"
#include "engine/views/view.h"
#include "widget/widget_family.h"

namespace kelpo::desktop {

// The answer to one timeline request for one instance: its content, the
// environment it is drawn in (the host sets the appearance and reduced motion
// on it), and when to ask again.
struct TimelineAnswer {
  ui::View content;
  ui::Environment environment;
  Instant reloadDate;
};

struct WidgetSource {
  // May throw: the host keeps the last good frame and says so once.
  std::function<TimelineAnswer(WidgetFamily)> timeline;
  // False when the clock is fixed (a reproducible "now"): the reload date
  // then never comes, and no deadline is armed.
  bool followsWallClock = true;
  // Whether the widget starts at login, and turning that on or off: the
  // program's own autostart entry. Unset: the menu's item does nothing.
  std::function<bool()> startsAtLogin;
  std::function<void(bool)> setStartAtLogin;
};

}  // namespace kelpo::desktop
