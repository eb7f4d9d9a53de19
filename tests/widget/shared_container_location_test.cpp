#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "base/preferences/preferences.h"
#include "support/scoped_environment_variable.h"
#include "support/temporary_directory.h"
#include "widget/shared_container.h"
#include "widget/widget_preferences.h"

namespace kelpo {
namespace {

using testing_support::TemporaryDirectory;

// The environment is process-wide: every variable a test changes is put back
// when the test ends.
class SharedContainerLocation : public ::testing::Test {
 protected:
  using Variable = testing_support::ScopedEnvironmentVariable;
  TemporaryDirectory root_;
};

TEST_F(SharedContainerLocation, TheExplicitDirectoryComesFirst) {
  const Variable group("KELPO_APP_GROUP_DIR", root_.path().string());
  const Variable data("XDG_DATA_HOME", "/nonexistent");
  EXPECT_EQ(sharedContainerDirectory(), root_.path());
}

TEST_F(SharedContainerLocation, OtherwiseTheAppGroupUnderTheDataDirectory) {
  const auto group = root_.path() / "group.app.kelpo";
  std::filesystem::create_directory(group);
  const Variable explicitGroup("KELPO_APP_GROUP_DIR", "");
  const Variable data("XDG_DATA_HOME", root_.path().string());
  EXPECT_EQ(sharedContainerDirectory(), group);

  const Variable noData("XDG_DATA_HOME", std::nullopt);
  const Variable home("HOME", root_.path().string());
  EXPECT_EQ(sharedContainerDirectory(), std::nullopt) << "~/.local/share has no group yet";
  const auto underHome = root_.path() / ".local" / "share" / "group.app.kelpo";
  std::filesystem::create_directories(underHome);
  EXPECT_EQ(sharedContainerDirectory(), underHome);

  const Variable relativeData("XDG_DATA_HOME", "relative/data");
  EXPECT_EQ(sharedContainerDirectory(), underHome) << "a relative XDG_DATA_HOME is ignored";
}

TEST_F(SharedContainerLocation, AMissingDirectoryIsNoContainer) {
  {
    const Variable group("KELPO_APP_GROUP_DIR", (root_.path() / "absent").string());
    EXPECT_EQ(sharedContainerDirectory(), std::nullopt);
  }

  const auto file = root_.path() / "file";
  std::ofstream(file) << "x";
  const Variable group("KELPO_APP_GROUP_DIR", file.string());
  EXPECT_EQ(sharedContainerDirectory(), std::nullopt) << "a file is no container";
}

TEST_F(SharedContainerLocation, PreferencesFollowTheConfigDirectory) {
  {
    const Variable config("XDG_CONFIG_HOME", root_.path().string());
    EXPECT_EQ(widgetPreferencesLocation(), root_.path() / "app.kelpo.widget" / "preferences.ini");
  }
  const Variable noConfig("XDG_CONFIG_HOME", std::nullopt);
  const Variable home("HOME", "/home/someone");
  EXPECT_EQ(widgetPreferencesLocation(),
            std::filesystem::path("/home/someone/.config/app.kelpo.widget/preferences.ini"));
}

}  // namespace
}  // namespace kelpo
