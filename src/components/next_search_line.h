#pragma once

#include <string>

#include "base/time/instant.h"
#include "engine/views/environment.h"
#include "engine/views/view.h"
#include "snapshot/widget_snapshot.h"

namespace kelpo {

// One line telling when the next search ("fouille") runs, or that one is
// running: "Fouille aujourd’hui 14:30", "Fouille demain 9:05",
// "Fouille lun. 18:00", "Fouille en cours".
struct NextSearchLine {
  WidgetSnapshot snapshot;
  // Drops the word "Fouille" and shows the time text alone. (Named isShort
  // because `short` is a keyword.)
  bool isShort = false;

  [[nodiscard]] ui::View body() const;
};

// The day word and clock of `when` in the environment's locale, zone and
// phrase book, relative to the environment's `now`: "aujourd’hui 14:30",
// "demain 9:05", or the abbreviated weekday for any other day ("lun. 18:00").
// The clock is "%d:%02d" unless the locale prefers a 12-hour clock, which
// then formats it ("9:05 PM").
[[nodiscard]] std::string nextSearchTimeText(Instant when, const ui::Environment& env);

}  // namespace kelpo
