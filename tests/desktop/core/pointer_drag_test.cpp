#include "desktop/handling/pointer_drag.h"

#include <gtest/gtest.h>

namespace kelpo::desktop {
namespace {

const ui::Rect frame{{100, 50}, {364, 170}};

// A click stays a click however the pointer trembles within the threshold;
// past it the widget follows the pointer, also back within the threshold,
// and the release drops it where the pointer left it.
TEST(PointerDrag, ClicksStayClicksAndDragsFollowThePointer) {
  PointerDrag drag(8);
  drag.press({200, 100}, frame);
  EXPECT_EQ(drag.moveTo({205, 94}), std::nullopt);
  EXPECT_EQ(drag.release({207, 100}), std::nullopt) << "a release within the threshold is a click";
  EXPECT_FALSE(drag.pressed());

  drag.press({200, 100}, frame);
  const auto moved = drag.moveTo({260, 100});
  ASSERT_TRUE(moved);
  EXPECT_DOUBLE_EQ(moved->minX(), 160);
  EXPECT_TRUE(drag.dragging());
  const auto back = drag.moveTo({203, 102});
  ASSERT_TRUE(back) << "once dragging, a small offset still moves";
  const auto dropped = drag.release({150, 300});
  ASSERT_TRUE(dropped);
  EXPECT_DOUBLE_EQ(dropped->minX(), 50);
  EXPECT_DOUBLE_EQ(dropped->minY(), 250);
  EXPECT_EQ(dropped->size.width, 364);

  EXPECT_EQ(drag.moveTo({400, 400}), std::nullopt) << "no press, no drag";
  EXPECT_EQ(drag.release({400, 400}), std::nullopt);
}

}  // namespace
}  // namespace kelpo::desktop
