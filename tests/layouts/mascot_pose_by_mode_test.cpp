// The ring's mascot is awake while there is something to do and asleep when
// the week is full or there is nothing to do, in both families.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/laid_out_queries.h"
#include "support/scoped_environment_variable.h"
#include "support/widget_fixtures.h"

namespace kelpo {
namespace {

using namespace testing_support;

struct PoseCase {
  const char* name;
  WidgetSnapshot (*snapshot)();
  bool awake;
};

class MascotPoseByMode : public testing::TestWithParam<PoseCase> {
 protected:
  // Resources holding only the awake picture: a sleeping mascot then comes
  // out as the empty image, which tells the two poses apart.
  void SetUp() override {
    directory_ =
        std::filesystem::temp_directory_path() / ("kelpo-pose-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(directory_ / "mascot");
    std::filesystem::copy_file(
        std::filesystem::path(KELPO_RESOURCE_DIR) / "mascot" / "mascot-found.png",
        directory_ / "mascot" / "mascot-found.png",
        std::filesystem::copy_options::overwrite_existing);
  }
  void TearDown() override { std::filesystem::remove_all(directory_); }
  std::filesystem::path directory_;
};

TEST_P(MascotPoseByMode, FollowsTheMode) {
  const ScopedEnvironmentVariable resources("KELPO_RESOURCE_DIR", directory_.string());
  for (const auto family : {ui::WidgetFamily::systemSmall, ui::WidgetFamily::systemMedium}) {
    const auto widget = layOutWidget(GetParam().snapshot(), family);
    const auto pictures = bitmaps(widget.content);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0]->bitmap != nullptr, GetParam().awake);
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, MascotPoseByMode,
                         testing::Values(PoseCase{"toSort", [] { return sample(); }, true},
                                         PoseCase{"program", [] { return programWeek(2); }, true},
                                         PoseCase{"completeWeek", [] { return unfinishedWeek(); },
                                                  true},
                                         PoseCase{"weekFull", [] { return fullWeek(); }, false},
                                         PoseCase{"idle", [] { return idleWeek(); }, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kelpo
