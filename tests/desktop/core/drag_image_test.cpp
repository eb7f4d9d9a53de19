#include "desktop/handling/drag_image.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>

namespace kelpo::ui {
// Readable frames in failures; found by gtest in the frame's namespace.
inline void PrintTo(const Rect& r, std::ostream* out) {
  *out << "(" << r.origin.x << ", " << r.origin.y << ") " << r.size.width << "x" << r.size.height;
}
}  // namespace kelpo::ui

namespace kelpo::desktop {
namespace {

const ui::Size medium{329, 155};
// The second of two 1280 x 720 outputs side by side.
const ui::Rect secondOutput{{1280, 0}, {1280, 720}};

TEST(DragImage, ShowsWhereTheDropWouldPutTheWidget) {
  struct Case {
    const char* what;
    DragImageQuery query;
    ui::Rect image;
  };
  const Case cases[] = {
      {"no panels: the overlay is the output, at its own origin",
       {{{1280 + 400, 200}, medium}, secondOutput, true, {1280, 720}},
       {{400, 200}, medium}},
      {"between points: at the nearest whole ones",
       {{{1280 + 400.4, 200.6}, medium}, secondOutput, true, {1280, 720}},
       {{400, 201}, medium}},
      {"near the top and left edges: snapped onto them",
       {{{1280 + 10, 12}, medium}, secondOutput, true, {1280, 720}},
       {{0, 0}, medium}},
      {"pushed past the right and bottom edges: kept inside",
       {{{1280 + 1100, 650}, medium}, secondOutput, true, {1280, 720}},
       {{1280 - 329, 720 - 155}, medium}},
      // The compositor counts the widget's anchors from what a 40 point
      // bottom panel leaves free, and lays the overlay out in it: a widget
      // 24 above that area's bottom shows 24 above the overlay's bottom.
      {"a bottom panel: measured from the bottom of the area left free",
       {{{1280 + 900, 720 - 155 - 24}, medium}, secondOutput, true, {1280, 680}},
       {{900, 680 - 155 - 24}, medium}},
      {"a left panel: measured from the right, where it is nearer",
       {{{1280 + 900, 100}, medium}, secondOutput, true, {1232, 720}},
       {{900 - 48, 100}, medium}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(dragImageFrame(c.query), c.image) << c.what;
  }
}

TEST(DragImage, DroppingOnAnotherOutputFollowsThePointerPastTheEdge) {
  const ui::Rect first{{0, 0}, {1280, 720}};
  struct Case {
    const char* what;
    ui::Rect frame;
    ui::Rect image;
  };
  const Case cases[] = {
      {"half onto the output on the right", {{1200, 300}, medium}, {{1200, 300}, medium}},
      {"wholly on the output on the right", {{1400, 300}, medium}, {{1400, 300}, medium}},
      {"near the top edge: not snapped onto it", {{1400, 5}, medium}, {{1400, 5}, medium}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(dragImageFrame({c.frame, first, false, {1280, 720}}), c.image) << c.what;
  }
  // A panel on the right: the part left of the edge keeps its distance to it.
  EXPECT_EQ(dragImageFrame({{{1200, 300}, medium}, first, false, {1240, 720}}),
            (ui::Rect{{1160, 300}, medium}));
}

TEST(DragImage, RepaintsTheOldAndTheNewImageInWholePoints) {
  struct Case {
    const char* what;
    std::optional<ui::Rect> before;
    ui::Rect after;
    ui::Rect repaint;
  };
  const Case cases[] = {
      {"the first image only", std::nullopt, {{10.5, 20.25}, {100, 50}}, {{10, 20}, {101, 51}}},
      {"moved right and down",
       ui::Rect{{10, 20}, {100, 50}},
       {{30, 60}, {100, 50}},
       {{10, 20}, {120, 90}}},
      {"moved left and up",
       ui::Rect{{30, 60}, {100, 50}},
       {{10, 20}, {100, 50}},
       {{10, 20}, {120, 90}}},
      {"off the overlay's left",
       ui::Rect{{-40, 0}, {100, 50}},
       {{-60, 0}, {100, 50}},
       {{-60, 0}, {120, 50}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(overlayRepaint(c.before, c.after), c.repaint) << c.what;
  }
}

}  // namespace
}  // namespace kelpo::desktop
