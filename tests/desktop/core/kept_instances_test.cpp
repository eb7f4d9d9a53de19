#include "desktop/settings/kept_instances.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelpo::desktop {
namespace {

const std::vector<KeptInstance> twoInstances{
    {WidgetFamily::systemSmall, "HDMI-A-1", InstancePlace{Corner::bottomLeft, 24, 40.5}, 0},
    {WidgetFamily::systemMedium, std::nullopt, std::nullopt, 0},
};

[[nodiscard]] std::string kept(std::string_view text, std::span<const KeptInstance> instances) {
  auto document = KeyFileDocument::parse(text);
  (void)keepInstances(document, instances);
  return document.text();
}

// What the host writes comes back as it was, and what a person or the
// previous version wrote around it stays.
TEST(KeptInstances, RoundTripKeepingTheRestOfTheFile) {
  const std::string previousVersion =
      "# my widget\n[desktop]\nfamily=small;medium\ncorner=bottom-left\n";
  auto document = KeyFileDocument::parse(previousVersion);
  const auto saved = keepInstances(document, twoInstances);
  ASSERT_EQ(saved.size(), 2u);
  EXPECT_EQ(saved[0].group, 1);
  EXPECT_EQ(saved[1].group, 2);
  const std::string written = document.text();
  EXPECT_TRUE(written.starts_with(previousVersion)) << written;
  const auto read = readKeptInstances(written);
  EXPECT_TRUE(read.ignored.empty());
  EXPECT_EQ(read.instances, saved);

  // Writing fewer instances drops the others.
  EXPECT_EQ(readKeptInstances(kept(written, std::span(saved).first(1))).instances.size(), 1u);
  EXPECT_TRUE(readKeptInstances(previousVersion).instances.empty()) << "no groups: no instances";
}

// A bad word costs that word, a group that names no size costs that
// instance, and neither costs the others.
TEST(KeptInstances, ABadWordCostsThatWordOnly) {
  const std::string good = "[instance 1]\nsize=small\n";
  struct Case {
    std::string text;
    std::size_t instances;  // read, the good one first
    bool placed;            // the second instance keeps a place
    std::optional<std::string> monitor;
    const char* named;  // in what is ignored; "" for nothing
  };
  const std::string placed = "corner=top-left\noffset-x=4\noffset-y=5\n";
  const Case cases[] = {
      {good + "[instance 2]\nsize=meduim\n", 1, false, {}, "[instance 2] size: \"meduim\""},
      {good + "[instance 2]\nmonitor=DP-1\n", 1, false, {}, "[instance 2] size: missing"},
      {good + "[instance 2]\nsize=medium\ncorner=top-left\noffset-x=-5\noffset-y=1\n",
       2,
       false,
       {},
       "[instance 2] offset-x: \"-5\""},
      {good + "[instance 2]\nsize=medium\ncorner=top-left\noffset-x=4\n",
       2,
       false,
       {},
       "[instance 2] offset-y: missing"},
      {good + "[instance 2]\nsize=medium\ncorner=middle\noffset-x=1\noffset-y=1\n",
       2,
       false,
       {},
       "corner"},
      {good + "[instance 2]\nsize=medium\ncorner=top-left\noffset-x=nan\noffset-y=1\n",
       2,
       false,
       {},
       "offset-x"},
      {good + "[instance 2]\nsize=medium\nmonitor=64\n" + placed, 2, true, {}, "monitor: \"64\""},
      {good + "[instance 2]\nsize=medium\nmonitor=D P\n" + placed, 2, true, {}, "monitor"},
      {good + "[instance 2]\nsize = medium\nmonitor = DP-2\n" + placed, 2, true, "DP-2", ""},
      {good + "[instance 2]\n~garbage~\nsize=medium\n" + placed, 2, true, {}, ""},
      {"\xEF\xBB\xBF" + good + "[instance 2]\r\nsize=medium\r\n", 2, false, {}, ""},
      {good + "[instance 2\nsize=small\n", 1, false, {}, ""},  // a header with a typo
  };
  for (const Case& c : cases) {
    const auto read = readKeptInstances(c.text);
    ASSERT_EQ(read.instances.size(), c.instances) << c.text;
    EXPECT_EQ(read.instances[0].family, WidgetFamily::systemSmall) << c.text;
    if (c.instances > 1) {
      EXPECT_EQ(read.instances[1].place.has_value(), c.placed) << c.text;
      EXPECT_EQ(read.instances[1].monitor, c.monitor) << c.text;
      EXPECT_EQ(read.instances[1].group, 2) << c.text;
    }
    if (*c.named == '\0') {
      EXPECT_TRUE(read.ignored.empty()) << c.text << read.ignored.front();
    } else {
      ASSERT_EQ(read.ignored.size(), 1u) << c.text;
      EXPECT_NE(read.ignored.front().find(c.named), std::string::npos) << read.ignored.front();
    }
  }
  const auto ordered = readKeptInstances("[instance 10]\nsize=medium\n[instance 2]\nsize=small\n");
  ASSERT_EQ(ordered.instances.size(), 2u);
  EXPECT_EQ(ordered.instances[0].group, 2) << "groups are read in number order";
}

// A save changes only the keys the host owns: a person's comments, blank
// lines and keys stay where they stand, in every group.
TEST(KeptInstances, ASaveKeepsWhatAPersonWrote) {
  const KeptInstance moved{WidgetFamily::systemSmall, "DP-1", InstancePlace{Corner::topLeft, 8, 9},
                           1};
  const KeptInstance stacked{WidgetFamily::systemMedium, std::nullopt, std::nullopt, 3};
  const KeptInstance added{WidgetFamily::systemMedium, std::nullopt, std::nullopt, 0};
  struct Case {
    const char* what;
    std::string before;
    std::vector<KeptInstance> instances;
    std::string after;
  };
  const std::string first =
      "# widgets\n[desktop]\nappearance=dark\n\n[instance 1]\n# the laptop's\nsize=medium\n"
      "note=mine\ncorner=bottom-right\noffset-x=1\n\noffset-y=2\n";
  const std::string firstMoved =
      "# widgets\n[desktop]\nappearance=dark\n\n[instance 1]\n# the laptop's\nsize=small\n"
      "note=mine\ncorner=top-left\noffset-x=8\n\noffset-y=9\nmonitor=DP-1\n";
  const Case cases[] = {
      {"moved in place", first, {moved}, firstMoved},
      {"the removed one goes with its comments",
       first + "\n# the spare\n[instance 2]\n# big\nsize=small\n\n# the third\n[instance 3]\n"
               "size=medium\n",
       {moved, stacked},
       firstMoved + "\n# the third\n[instance 3]\nsize=medium\n"},
      {"a new one at the end, after the largest number",
       first + "[instance 7]\nsize=meduim\n",
       {moved, added},
       firstMoved + "[instance 7]\nsize=meduim\n\n[instance 8]\nsize=medium\n"},
      {"a place given up",
       "[instance 3]\nsize=medium\ncorner=top-left\noffset-x=1\noffset-y=2\n",
       {stacked},
       "[instance 3]\nsize=medium\n"},
      {"a byte-order mark stays",
       "\xEF\xBB\xBF[instance 3]\nsize=small\n",
       {stacked},
       "\xEF\xBB\xBF[instance 3]\nsize=medium\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(kept(c.before, c.instances), c.after) << c.what;
}

}  // namespace
}  // namespace kelpo::desktop
