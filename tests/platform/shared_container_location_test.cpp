#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>

#include "platform/preferences.h"
#include "platform/shared_container.h"
#include "support/temporary_directory.h"

namespace kelpo {
namespace {

using testing_support::TemporaryDirectory;

// The environment is process-wide: every test that changes it lives in this
// file and puts back what it found, variable by variable.
class EnvironmentTest : public ::testing::Test {
 protected:
  void set(const std::string& name, const std::optional<std::string>& value) {
    if (!saved_.contains(name)) {
      const char* old = ::getenv(name.c_str());
      saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    if (value) {
      ::setenv(name.c_str(), value->c_str(), 1);
    } else {
      ::unsetenv(name.c_str());
    }
  }

  void TearDown() override {
    for (const auto& [name, value] : saved_) {
      if (value) {
        ::setenv(name.c_str(), value->c_str(), 1);
      } else {
        ::unsetenv(name.c_str());
      }
    }
  }

  TemporaryDirectory root_;

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

using SharedContainerLocation = EnvironmentTest;

TEST_F(SharedContainerLocation, TheExplicitDirectoryComesFirst) {
  set("KELPO_APP_GROUP_DIR", root_.path().string());
  set("XDG_DATA_HOME", "/nonexistent");
  EXPECT_EQ(sharedContainerDirectory(), root_.path());
}

TEST_F(SharedContainerLocation, OtherwiseTheAppGroupUnderTheDataDirectory) {
  const auto group = root_.path() / "group.app.kelpo";
  std::filesystem::create_directory(group);
  set("KELPO_APP_GROUP_DIR", "");
  set("XDG_DATA_HOME", root_.path().string());
  EXPECT_EQ(sharedContainerDirectory(), group);

  set("XDG_DATA_HOME", std::nullopt);
  set("HOME", root_.path().string());
  EXPECT_EQ(sharedContainerDirectory(), std::nullopt) << "~/.local/share has no group yet";
  const auto underHome = root_.path() / ".local" / "share" / "group.app.kelpo";
  std::filesystem::create_directories(underHome);
  EXPECT_EQ(sharedContainerDirectory(), underHome);

  set("XDG_DATA_HOME", "relative/data");
  EXPECT_EQ(sharedContainerDirectory(), underHome) << "a relative XDG_DATA_HOME is ignored";
}

TEST_F(SharedContainerLocation, AMissingDirectoryIsNoContainer) {
  set("KELPO_APP_GROUP_DIR", (root_.path() / "absent").string());
  EXPECT_EQ(sharedContainerDirectory(), std::nullopt);

  const auto file = root_.path() / "file";
  std::ofstream(file) << "x";
  set("KELPO_APP_GROUP_DIR", file.string());
  EXPECT_EQ(sharedContainerDirectory(), std::nullopt) << "a file is no container";
}

using PreferencesLocation = EnvironmentTest;

TEST_F(PreferencesLocation, FollowsTheConfigDirectory) {
  set("XDG_CONFIG_HOME", root_.path().string());
  EXPECT_EQ(Preferences::defaultLocation(), root_.path() / "app.kelpo.widget" / "preferences.ini");

  set("XDG_CONFIG_HOME", std::nullopt);
  set("HOME", "/home/someone");
  EXPECT_EQ(Preferences::defaultLocation(),
            std::filesystem::path("/home/someone/.config/app.kelpo.widget/preferences.ini"));
}

}  // namespace
}  // namespace kelpo
