#include "desktop/handling/widget_keys.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kelpo::desktop {
namespace {

TEST(WidgetKeys, EscapeCallsOffADragAndActivateOpensTheLinkOnlyWhenNotDragging) {
  const std::tuple<WidgetKey, bool, KeyCommand> cases[] = {
      {WidgetKey::escape, true, KeyCommand::callOffDrag},
      {WidgetKey::escape, false, KeyCommand::none},
      {WidgetKey::activate, false, KeyCommand::openWidgetLink},
      {WidgetKey::activate, true, KeyCommand::none},
      {WidgetKey::other, false, KeyCommand::none},
      {WidgetKey::other, true, KeyCommand::none},
  };
  for (const auto& [key, dragging, expected] : cases) {
    EXPECT_EQ(commandFor(key, dragging), expected)
        << "key " << static_cast<int>(key) << (dragging ? " while dragging" : "");
  }
}

}  // namespace
}  // namespace kelpo::desktop
