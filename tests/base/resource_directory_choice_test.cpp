#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "base/files/resource_directory.h"
#include "support/temporary_directory.h"

namespace kelpo {
namespace {

// A prefix laid out as an install leaves it: <root>/usr/bin/kelpo-widget and
// <root>/usr/share/kelpo-widget; and a build tree with no share/ beside it.
class ResourceDirectoryChoice : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(installed());
    std::filesystem::create_directories(root_.path() / "usr" / "bin");
    std::filesystem::create_directories(root_.path() / "build" / "dev");
  }
  [[nodiscard]] std::filesystem::path installed() const {
    return root_.path() / "usr" / "share" / "kelpo-widget";
  }
  [[nodiscard]] std::filesystem::path installedCommand() const {
    return root_.path() / "usr" / "bin" / "kelpo-widget";
  }
  [[nodiscard]] std::filesystem::path buildTreeCommand() const {
    return root_.path() / "build" / "dev" / "kelpo-widget";
  }
  testing_support::TemporaryDirectory root_;
};

TEST_F(ResourceDirectoryChoice, VariableThenInstallBesideTheCommandThenBuildTime) {
  const std::filesystem::path builtIn = "/source/resources";
  struct Case {
    std::string variable;
    std::filesystem::path executable;
    std::filesystem::path expected;
  };
  const Case cases[] = {
      {"/elsewhere", installedCommand(), "/elsewhere"},
      {"", installedCommand(), installed()},
      {"", buildTreeCommand(), builtIn},
      {"", std::filesystem::path(), builtIn},
      {"", "kelpo-widget", builtIn},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(chooseResourceDirectory(c.variable, c.executable, builtIn), c.expected)
        << "variable \"" << c.variable << "\", executable " << c.executable;
  }
}

TEST_F(ResourceDirectoryChoice, AFileWhereTheDirectoryBelongsIsNoInstall) {
  std::filesystem::remove(installed());
  { std::ofstream(installed().string()) << "not a directory"; }
  EXPECT_EQ(chooseResourceDirectory("", installedCommand(), "/source/resources"),
            "/source/resources");
}

}  // namespace
}  // namespace kelpo
