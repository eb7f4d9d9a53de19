#include "desktop/settings/kept_instances.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelpo::desktop {
namespace {

const std::vector<KeptInstance> twoInstances{
    {WidgetFamily::systemSmall, "HDMI-A-1", InstancePlace{Corner::bottomLeft, 24, 40.5}},
    {WidgetFamily::systemMedium, std::nullopt, std::nullopt},
};

// What the host writes comes back as it was, and what a person or the
// previous version wrote around it stays.
TEST(KeptInstances, RoundTripKeepingTheRestOfTheFile) {
  const std::string previousVersion =
      "# my widget\n[desktop]\nfamily=small;medium\ncorner=bottom-left\n";
  const auto written = withKeptInstances(previousVersion, twoInstances);
  ASSERT_TRUE(written.ok()) << written.error();
  EXPECT_NE(written->find("# my widget"), std::string::npos);
  EXPECT_NE(written->find("family=small;medium"), std::string::npos);
  const auto read = readKeptInstances(*written);
  ASSERT_TRUE(read.ok()) << read.error();
  EXPECT_EQ(*read, twoInstances);

  // Writing fewer instances drops the others.
  const auto one = withKeptInstances(*written, std::span(twoInstances).first(1));
  ASSERT_TRUE(one.ok());
  EXPECT_EQ(readKeptInstances(*one)->size(), 1u);
  EXPECT_TRUE(readKeptInstances(previousVersion)->empty()) << "no groups: no instances";
}

TEST(KeptInstances, GroupsAreReadInNumberOrderAndBadWordsNamed) {
  const auto ordered = readKeptInstances(
      "[instance 10]\nsize=medium\n[instance 2]\nsize=small\n[instance x]\nsize=bogus\n");
  ASSERT_TRUE(ordered.ok()) << ordered.error();
  ASSERT_EQ(ordered->size(), 2u);
  EXPECT_EQ((*ordered)[0].family, WidgetFamily::systemSmall);

  struct Case {
    const char* text;
    const char* named;
  };
  const Case cases[] = {
      {"[instance 1]\nmonitor=DP-1\n", "[instance 1] size"},
      {"[instance 1]\nsize=large\n", "[instance 1] size"},
      {"[instance 1]\nsize=small\ncorner=middle\noffset-x=1\noffset-y=1\n", "corner"},
      {"[instance 1]\nsize=small\ncorner=top-left\noffset-x=-4\noffset-y=1\n", "offset-x"},
      {"[instance 1]\nsize=small\ncorner=top-left\noffset-x=4\n", "offset-y"},
      {"[instance 1]\nsize=small\ncorner=top-left\noffset-x=nan\noffset-y=1\n", "offset-x"},
      {"[instance 1\nsize=small\n", ""},  // not a key file at all
  };
  for (const Case& c : cases) {
    const auto read = readKeptInstances(c.text);
    ASSERT_FALSE(read.ok()) << c.text;
    EXPECT_NE(read.error().find(c.named), std::string::npos) << read.error();
  }
  EXPECT_FALSE(withKeptInstances("[instance 1\nsize=small\n", twoInstances).ok())
      << "a file with a typo is never overwritten";
}

}  // namespace
}  // namespace kelpo::desktop
