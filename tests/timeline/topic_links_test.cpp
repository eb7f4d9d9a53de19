#include <gtest/gtest.h>

#include "timeline/deep_links.h"
#include "timeline/widget_declaration.h"

namespace kelpo {
namespace {

// The fixed links are checked where the layouts use them.
TEST(DeepLinks, TopicLinkCarriesTheIdInUpperCase) {
  WidgetSnapshot::Item item;
  item.id = Uuid::parse("3f2504e0-4f89-11d3-9a0c-0305e82c3301").value();
  EXPECT_EQ(topicURL(item), "kelpo://topic/3F2504E0-4F89-11D3-9A0C-0305E82C3301");
}

TEST(WidgetDeclaration, OffersSmallThenMediumOnly) {
  EXPECT_EQ(KelpoWidget::kind, "app.kelpo.widget");
  EXPECT_EQ(KelpoWidget::displayName, "kelpo");
  EXPECT_EQ(KelpoWidget::description,
            "Ce qui attend d\u2019\u00eatre tri\u00e9, ta semaine et la prochaine fouille.");
  ASSERT_EQ(KelpoWidget::supportedFamilies.size(), 2u);
  EXPECT_EQ(KelpoWidget::supportedFamilies[0], WidgetFamily::systemSmall);
  EXPECT_EQ(KelpoWidget::supportedFamilies[1], WidgetFamily::systemMedium);
}

}  // namespace
}  // namespace kelpo
