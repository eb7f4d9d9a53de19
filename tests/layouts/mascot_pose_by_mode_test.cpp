// The ring's mascot is awake while there is something to do and asleep when
// the week is full or there is nothing to do, in both families.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/laid_out_queries.h"
#include "support/scoped_environment_variable.h"
#include "support/temporary_directory.h"
#include "support/widget_fixtures.h"

namespace kelpo {
namespace {

using namespace testing_support;

TEST(MascotPoseByMode, FollowsTheMode) {
  // Resources holding only the awake picture: a sleeping mascot then comes
  // out as the empty image, which tells the two poses apart.
  const TemporaryDirectory resources;
  std::filesystem::create_directories(resources.path() / "mascot");
  std::filesystem::copy_file(
      std::filesystem::path(KELPO_RESOURCE_DIR) / "mascot" / "mascot-found.png",
      resources.path() / "mascot" / "mascot-found.png");
  const ScopedEnvironmentVariable variable("KELPO_RESOURCE_DIR", resources.path().string());

  const struct {
    const char* name;
    WidgetSnapshot snapshot;
    bool awake;
  } table[] = {{"toSort", sample(), true},
               {"program", programWeek(2), true},
               {"completeWeek", unfinishedWeek(), true},
               {"weekFull", fullWeek(), false},
               {"idle", idleWeek(), false}};
  for (const auto& c : table) {
    for (const auto family : {WidgetFamily::systemSmall, WidgetFamily::systemMedium}) {
      const auto widget = layOutWidget(c.snapshot, family);
      const auto pictures = bitmaps(widget.content);
      ASSERT_EQ(pictures.size(), 1u) << c.name;
      EXPECT_EQ(pictures[0]->bitmap != nullptr, c.awake) << c.name;
    }
  }
}

}  // namespace
}  // namespace kelpo
