#pragma once

// Snapshots in each widget mode and a one-call layout of the whole widget,
// for the layout tests.

#include <chrono>
#include <memory>
#include <string>

#include "base/locale/phrases.h"
#include "base/time/calendar.h"
#include "engine/fake_text_measurer.h"
#include "engine/layout/widget_layout.h"
#include "layouts/kelpo_widget_view.h"
#include "timeline/sample_snapshot.h"

namespace kelpo::testing_support {

// Sunday 2025-06-15 10:00 UTC: the sample's next search (Monday 08:00) is
// tomorrow.
inline Instant fixtureNow() {
  using namespace std::chrono;
  return Instant{sys_days{2025y / June / 15}} + hours{10};
}

inline WidgetSnapshot sample() {
  return sampleSnapshot(fixtureNow(), CalendarContext("fr_FR", "Etc/UTC"));
}

inline WidgetSnapshot::Item listedItem(std::string title, std::int64_t score, std::string detail) {
  WidgetSnapshot::Item item;
  item.id = Uuid::random();
  item.title = std::move(title);
  item.score = score;
  item.detail = std::move(detail);
  return item;
}

// Nothing to sort, `count` in the programme with one listed item.
inline WidgetSnapshot programWeek(std::int64_t count) {
  WidgetSnapshot snapshot = sample();
  snapshot.toSort.clear();
  snapshot.toSortCount = 0;
  snapshot.program = {listedItem("Rust 1.80 : LazyLock", 6, "Blog Rust · 12 min")};
  snapshot.programCount = count;
  return snapshot;
}

// Nothing to sort or read, 2 h 15 done of a 5 h week, 3 topics done.
inline WidgetSnapshot unfinishedWeek() {
  WidgetSnapshot snapshot = programWeek(0);
  snapshot.program.clear();
  snapshot.weekDone = 135;
  snapshot.weekBudget = 300;
  snapshot.weekDoneCount = 3;
  snapshot.weekLeftLabel = "2 h 45";
  return snapshot;
}

inline WidgetSnapshot fullWeek() {
  WidgetSnapshot snapshot = unfinishedWeek();
  snapshot.weekDone = 450;
  snapshot.weekBudgetLabel = "5 h";
  return snapshot;
}

inline WidgetSnapshot idleWeek() {
  WidgetSnapshot snapshot = unfinishedWeek();
  snapshot.weekDone = 0;
  return snapshot;
}

inline ui::Environment fixtureEnvironment(WidgetFamily family) {
  ui::Environment env;
  const WidgetSize& size = widgetSize(family);
  env.widgetSize = {size.width, size.height};
  env.locale = "fr_FR";
  env.timeZone = "Etc/UTC";
  env.now = fixtureNow();
  return env;
}

inline ui::LaidOutWidget layOutWidget(const WidgetSnapshot& snapshot, const ui::Environment& env,
                                      AccentTheme accent = AccentTheme::braise) {
  const ui::testing::FakeTextMeasurer measurer;
  return ui::layoutWidget(KelpoWidgetView{.snapshot = snapshot, .accent = accent}.body(), env,
                          measurer);
}

inline ui::LaidOutWidget layOutWidget(const WidgetSnapshot& snapshot, WidgetFamily family,
                                      AccentTheme accent = AccentTheme::braise) {
  return layOutWidget(snapshot, fixtureEnvironment(family), accent);
}

}  // namespace kelpo::testing_support
