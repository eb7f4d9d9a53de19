#include "verbs/gallery_examples.h"

#include <chrono>

namespace kelpo::app {
namespace {

using std::chrono::hours;
using std::chrono::minutes;

[[nodiscard]] WidgetSnapshot::Item item(std::string title, std::int64_t score, std::string detail,
                                        bool unread = false) {
  return {Uuid::random(), std::move(title), score, Gallery::stack, std::move(detail), unread};
}

[[nodiscard]] WidgetSnapshot week(std::int64_t done, std::int64_t planned, std::string label,
                                  std::string accent) {
  WidgetSnapshot snapshot;
  snapshot.weekDone = done;
  snapshot.weekPlanned = planned;
  snapshot.weekBudget = 300;
  snapshot.weekLabel = std::move(label);
  snapshot.accent = std::move(accent);
  return snapshot;
}

[[nodiscard]] GalleryExample toSort(Instant now) {
  WidgetSnapshot snapshot = week(135, 75, "2 h 15 / 5 h", "Braise");
  snapshot.toSort = {item("AGP 9.5 : mapping.txt corrigé", 10, "Pixelbarn · 30 min"),
                     item("Blender 4.5 : support des GPU Apple", 9, "shader-forge · 30 min"),
                     item("Swift 6.2 : concurrence stricte par défaut", 7, "Suggestion · 30 min")};
  snapshot.toSortCount = 12;
  snapshot.nextSearch = now + hours(3);
  return {"toSort", snapshot};
}

[[nodiscard]] GalleryExample program(Instant now) {
  WidgetSnapshot snapshot = week(60, 150, "1 h / 5 h", "Lagune");
  snapshot.program = {item("Rust 1.90 : le nouveau solveur de traits", 8, "rustlang · 25 min"),
                      item("Vulkan 1.4 en pratique", 6, "khronos · 40 min"),
                      item("Pourquoi les index B-tree restent rois", 4, "dbweekly · 15 min")};
  snapshot.programCount = 4;
  snapshot.nextSearch = now + hours(24);
  return {"program", snapshot};
}

[[nodiscard]] GalleryExample completeWeek(Instant now) {
  WidgetSnapshot snapshot = week(135, 0, "2 h 15 / 5 h", "Framboise");
  snapshot.weekLeftLabel = "2 h 45";
  snapshot.weekDoneCount = 3;
  snapshot.nextSearch = now + hours(24 * 3);
  return {"completeWeek", snapshot};
}

[[nodiscard]] GalleryExample weekFull(Instant now) {
  WidgetSnapshot snapshot = week(320, 0, "5 h 20 / 5 h", "Indigo");
  snapshot.weekBudgetLabel = "5 h";
  snapshot.weekDoneCount = 7;
  snapshot.nextSearch = now + hours(24) + minutes(35);
  return {"weekFull", snapshot};
}

[[nodiscard]] GalleryExample idle(Instant now) {
  WidgetSnapshot snapshot = week(0, 0, "0 / 5 h", "Braise");
  snapshot.searching = true;
  snapshot.nextSearch = now;
  return {"idle", snapshot};
}

[[nodiscard]] GalleryExample longTexts(Instant now) {
  WidgetSnapshot snapshot = week(290, 200, "4 h 50 / 5 h", "Lagune");
  snapshot.toSort = {
      item("<b>&amp;</b> Un titre qui ressemble à du balisage et qui continue longtemps, "
           "bien au-delà de deux lignes",
           12, "Un détail beaucoup trop long pour tenir sur une seule ligne · 90 min"),
      item("Article illisible", 10, "Rien n’a pu être lu", true),
      item("Score nul", 0, "%@ %lld %s · 5 min")};
  snapshot.toSortCount = 1234567;
  snapshot.nextSearch = now + hours(30);
  return {"long texts", snapshot};
}

}  // namespace

std::vector<GalleryExample> galleryExamples(Instant now) {
  return {toSort(now), program(now), completeWeek(now), weekFull(now), idle(now), longTexts(now)};
}

}  // namespace kelpo::app
