#include <gtest/gtest.h>

#include "timeline/deep_links.h"

namespace kelpo {
namespace {

// The fixed links are checked where the layouts use them.
TEST(DeepLinks, TopicLinkCarriesTheIdInUpperCase) {
  WidgetSnapshot::Item item;
  item.id = Uuid::parse("3f2504e0-4f89-11d3-9a0c-0305e82c3301").value();
  EXPECT_EQ(topicURL(item), "kelpo://topic/3F2504E0-4F89-11D3-9A0C-0305E82C3301");
}

}  // namespace
}  // namespace kelpo
