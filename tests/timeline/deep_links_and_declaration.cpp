#include <gtest/gtest.h>

#include <string_view>

#include "timeline/deep_links.h"
#include "timeline/widget_declaration.h"

namespace kelpo {
namespace {

WidgetSnapshot::Item itemWithId(std::string_view id) {
  WidgetSnapshot::Item item;
  item.id = Uuid::parse(id).value();
  return item;
}

TEST(DeepLinks, FixedLinks) {
  EXPECT_EQ(inboxURL(), "kelpo://inbox");
  EXPECT_EQ(programURL(), "kelpo://program");
  EXPECT_EQ(completeWeekURL(), "kelpo://complete-week");
}

TEST(DeepLinks, FixedLinksAreMadeOnce) {
  EXPECT_EQ(&inboxURL(), &inboxURL());
  EXPECT_EQ(&programURL(), &programURL());
  EXPECT_EQ(&completeWeekURL(), &completeWeekURL());
}

TEST(DeepLinks, TopicLinkCarriesTheIdInUpperCase) {
  EXPECT_EQ(topicURL(itemWithId("3F2504E0-4F89-11D3-9A0C-0305E82C3301")),
            "kelpo://topic/3F2504E0-4F89-11D3-9A0C-0305E82C3301");
  EXPECT_EQ(topicURL(itemWithId("3f2504e0-4f89-11d3-9a0c-0305e82c3301")),
            "kelpo://topic/3F2504E0-4F89-11D3-9A0C-0305E82C3301");
}

TEST(WidgetDeclaration, OffersSmallThenMediumOnly) {
  EXPECT_EQ(KelpoWidget::kind, "app.kelpo.widget");
  EXPECT_EQ(KelpoWidget::displayName, "kelpo");
  EXPECT_EQ(KelpoWidget::description,
            "Ce qui attend d\u2019\u00eatre tri\u00e9, ta semaine et la prochaine fouille.");
  ASSERT_EQ(KelpoWidget::supportedFamilies.size(), 2u);
  EXPECT_EQ(KelpoWidget::supportedFamilies[0], ui::WidgetFamily::systemSmall);
  EXPECT_EQ(KelpoWidget::supportedFamilies[1], ui::WidgetFamily::systemMedium);
}

}  // namespace
}  // namespace kelpo
