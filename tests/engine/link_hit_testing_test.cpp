// Which link a click opens: the innermost Link under the pointer, else the
// widget's link; nothing outside the outline.

#include <gtest/gtest.h>

#include "engine/layout_test_support.h"
#include "engine/output/hit_testing.h"

namespace kelpo::ui {
namespace {

LaidOutWidget mediumWidget(const View& content) {
  return testing::layOutWidget(content.frame(testing::filling()).widgetURL("kelpo://inbox"),
                               testing::testEnvironment(testing::mediumOutline));
}

// Rows 20 high from y = 16, 100 wide, from x = 16.
View rows() {
  return VStack(
      HorizontalAlignment::leading, 0,
      {Link("kelpo://topic/A", PaintView(Color::black()).frame(100, 20)),
       Link("kelpo://topic/B",
            HStack(VerticalAlignment::center, 0,
                   {PaintView(Color::black()).frame(50, 20),
                    Link("kelpo://inner", PaintView(Color::black()).frame(50, 20))})),
       PaintView(Color::black()).frame(100, 20).allowsHitTesting(false),
       Link("kelpo://hidden", PaintView(Color::black()).frame(100, 20)).allowsHitTesting(false),
       Link("kelpo://moved", PaintView(Color::black()).frame(100, 20)).offset(200, 0)});
}

TEST(LinkHitTesting, InnermostLinkElseWidgetLink) {
  const LaidOutWidget widget = mediumWidget(rows());
  struct Case {
    Point at;
    std::optional<std::string> link;
  };
  for (const Case& c : {
           Case{{20, 20}, "kelpo://topic/A"}, Case{{20, 45}, "kelpo://topic/B"},
           Case{{80, 45}, "kelpo://inner"},
           Case{{20, 65}, "kelpo://inbox"},    // takes no hits: the widget's link
           Case{{20, 85}, "kelpo://inbox"},    // a link that takes no hits
           Case{{20, 105}, "kelpo://inbox"},   // the moved link is no longer here...
           Case{{220, 105}, "kelpo://moved"},  // ...but here
           Case{{300, 150}, "kelpo://inbox"},  // empty space
           Case{{1, 1}, std::nullopt},         // outside the rounded corner
           Case{{400, 20}, std::nullopt},      // outside the widget
       }) {
    EXPECT_EQ(linkAt(widget, c.at), c.link) << c.at.x << ", " << c.at.y;
  }
}

TEST(LinkHitTesting, TopmostViewDecides) {
  // An overlay that takes hits covers the link beneath it.
  const View covered = Link("kelpo://topic/A", PaintView(Color::black()).frame(100, 20))
                           .overlay(PaintView(Color::white()));
  EXPECT_EQ(linkAt(mediumWidget(covered), {20, 20}), "kelpo://inbox");
  const View passThrough = Link("kelpo://topic/A", PaintView(Color::black()).frame(100, 20))
                               .overlay(PaintView(Color::white()).allowsHitTesting(false));
  EXPECT_EQ(linkAt(mediumWidget(passThrough), {20, 20}), "kelpo://topic/A");
}

}  // namespace
}  // namespace kelpo::ui
