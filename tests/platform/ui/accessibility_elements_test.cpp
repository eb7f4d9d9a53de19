// What assistive technologies read of a laid-out widget.

#include <gtest/gtest.h>

#include "platform/ui/layout_test_support.h"
#include "platform/ui/output/accessibility_dump.h"

namespace kelpo::ui {
namespace {

std::vector<AccessibilityElement> elementsOf(const View& content) {
  return accessibilityElements(testing::layOutWidget(content));
}

TEST(AccessibilityElements, ElementIgnoringChildrenSpeaksOnceWithLabelAndValue) {
  const View ring =
      ZStack(Alignment::center(), {fill(Circle(), Color::black()), Text::verbatim("inner"),
                                   Image::systemName("checkmark")})
          .frame(62, 62)
          .accessibilityElementIgnoringChildren()
          .accessibilityLabel(Text("Ta semaine"))
          .accessibilityValue(Text::verbatim("2 h 15 / 5 h"));
  const auto elements = elementsOf(HStack(VerticalAlignment::top, 8, {ring, Text::verbatim("3")}));
  ASSERT_EQ(elements.size(), 2u);
  EXPECT_EQ(elements[0].label, "Ta semaine");
  EXPECT_EQ(elements[0].value, "2 h 15 / 5 h");
  EXPECT_EQ(elements[0].frame.size, (Size{62, 62}));
  EXPECT_EQ(elements[1].label, "3");
  EXPECT_EQ(elements[1].value, std::nullopt);
}

TEST(AccessibilityElements, ElementWithoutLabelJoinsItsTexts) {
  const View tile = VStack(HorizontalAlignment::leading, 1,
                           {Text::verbatim("45 %"), Text::verbatim("de ta semaine")})
                        .accessibilityElementIgnoringChildren();
  const auto elements = elementsOf(tile);
  ASSERT_EQ(elements.size(), 1u);
  EXPECT_EQ(elements[0].label, "45 %, de ta semaine");
}

TEST(AccessibilityElements, HiddenViewsAndUnlabelledImagesAreLeftOut) {
  const View content =
      VStack(HorizontalAlignment::leading, 0,
             {Image::file("/nonexistent.png").accessibilityHidden(true), Image::systemName("clock"),
              VStack(HorizontalAlignment::leading, 0, {Text::verbatim("secret")})
                  .accessibilityHidden(true),
              Image::systemName("checkmark").accessibilityLabel(Text::verbatim("fait")),
              Text::verbatim("Fouille demain 9:05")});
  const auto elements = elementsOf(content);
  ASSERT_EQ(elements.size(), 2u);
  EXPECT_EQ(elements[0].label, "fait");
  EXPECT_EQ(elements[1].label, "Fouille demain 9:05");
}

TEST(AccessibilityElements, ElementsKnowTheirRoleAndTheLinkAroundThem) {
  const View badge =
      ZStack(Alignment::center(), {fill(Circle(), Color::black()), Text::verbatim("7")})
          .accessibilityElementIgnoringChildren()
          .accessibilityLabel(Text::verbatim("Note 7 sur 10"));
  const View row = Link("kelpo://topic/A",
                        HStack(VerticalAlignment::center, 9, {badge, Text::verbatim("Titre")}));
  const auto elements =
      elementsOf(VStack(HorizontalAlignment::leading, 0, {Text::verbatim("3 à trier"), row}));
  struct Expected {
    std::string label;
    AccessibilityRole role;
    std::optional<std::string> link;
  };
  const std::vector<Expected> expected{
      {"3 à trier", AccessibilityRole::text, std::nullopt},
      {"Note 7 sur 10", AccessibilityRole::image, "kelpo://topic/A"},
      {"Titre", AccessibilityRole::text, "kelpo://topic/A"},
  };
  ASSERT_EQ(elements.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(elements[i].label, expected[i].label);
    EXPECT_EQ(elements[i].role, expected[i].role) << expected[i].label;
    EXPECT_EQ(elements[i].link, expected[i].link) << expected[i].label;
  }
}

}  // namespace
}  // namespace kelpo::ui
