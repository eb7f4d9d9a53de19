// What assistive technologies read of a laid-out widget.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/layout_test_support.h"
#include "engine/output/accessibility_dump.h"

namespace kelpo::ui {
namespace {

using Spoken = std::vector<std::string>;

// Each element as one line: label, " — " value, " [image]" for that role,
// " → " the link around it.
Spoken spokenBy(const View& content) {
  Spoken lines;
  for (const AccessibilityElement& e : accessibilityElements(testing::layOutWidget(content))) {
    lines.push_back(e.label + (e.value ? " — " + *e.value : "") +
                    (e.role == AccessibilityRole::image ? " [image]" : "") +
                    (e.link ? " → " + *e.link : ""));
  }
  return lines;
}

TEST(AccessibilityElements, ElementIgnoringChildrenSpeaksOnceWithLabelAndValue) {
  const View ring =
      ZStack(Alignment::center(), {fill(Circle(), Color::black()), Text::verbatim("inner"),
                                   Image::systemName("checkmark")})
          .frame(62, 62)
          .accessibilityElementIgnoringChildren()
          .accessibilityLabel(Text("Ta semaine"))
          .accessibilityValue(Text::verbatim("2 h 15 / 5 h"));
  const View content = HStack(VerticalAlignment::top, 8, {ring, Text::verbatim("3")});
  EXPECT_EQ(spokenBy(content), (Spoken{"Ta semaine — 2 h 15 / 5 h [image]", "3"}));
  EXPECT_EQ(accessibilityElements(testing::layOutWidget(content)).at(0).frame.size, (Size{62, 62}));
  // Without a label, the element joins its texts.
  const View tile = VStack(HorizontalAlignment::leading, 1,
                           {Text::verbatim("45 %"), Text::verbatim("de ta semaine")})
                        .accessibilityElementIgnoringChildren();
  EXPECT_EQ(spokenBy(tile), (Spoken{"45 %, de ta semaine"}));
}

TEST(AccessibilityElements, HiddenViewsAndUnlabelledImagesAreLeftOut) {
  const View content =
      VStack(HorizontalAlignment::leading, 0,
             {Image::file("/nonexistent.png").accessibilityHidden(true), Image::systemName("clock"),
              VStack(HorizontalAlignment::leading, 0, {Text::verbatim("secret")})
                  .accessibilityHidden(true),
              Image::systemName("checkmark").accessibilityLabel(Text::verbatim("fait")),
              Text::verbatim("Fouille demain 9:05")});
  EXPECT_EQ(spokenBy(content), (Spoken{"fait [image]", "Fouille demain 9:05"}));
}

TEST(AccessibilityElements, ElementsKnowTheirRoleAndTheLinkAroundThem) {
  const View badge =
      ZStack(Alignment::center(), {fill(Circle(), Color::black()), Text::verbatim("7")})
          .accessibilityElementIgnoringChildren()
          .accessibilityLabel(Text::verbatim("Note 7 sur 10"));
  const View row = Link("kelpo://topic/A",
                        HStack(VerticalAlignment::center, 9, {badge, Text::verbatim("Titre")}));
  EXPECT_EQ(
      spokenBy(VStack(HorizontalAlignment::leading, 0, {Text::verbatim("3 à trier"), row})),
      (Spoken{"3 à trier", "Note 7 sur 10 [image] → kelpo://topic/A", "Titre → kelpo://topic/A"}));
}

}  // namespace
}  // namespace kelpo::ui
