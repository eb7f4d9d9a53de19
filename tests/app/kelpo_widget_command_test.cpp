#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/run_widget.h"

namespace kelpo {
namespace {

using testing::HasSubstr;
using testing_support::CommandResult;

using KelpoWidgetCommand = testing_support::WidgetCommandTest;

TEST_F(KelpoWidgetCommand, ValidateNamesTheFirstProblemWithItsPath) {
  const CommandResult sample = run({"sample"});
  std::string broken = sample.out;
  const auto second = broken.find("\"gallery\": \"stack\"", broken.find("\"gallery\"") + 1);
  ASSERT_NE(second, std::string::npos);
  broken.replace(second, 18, "\"gallery\": \"Stack\"");
  writeSnapshot(broken);

  const CommandResult validate = run({"validate"});
  EXPECT_NE(validate.exitStatus, 0);
  EXPECT_EQ(validate.out, "");
  EXPECT_THAT(validate.err, HasSubstr("widget.json: toSort[1].gallery: unknown value \"Stack\""));
}

TEST_F(KelpoWidgetCommand, ValidateRefusesAFifoWithoutBlockingAndAMissingFile) {
  const auto fifo = home_.path() / "widget.json";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const CommandResult validate = run({"validate", fifo.string()});
  EXPECT_FALSE(validate.timedOut);
  EXPECT_NE(validate.exitStatus, 0);
  EXPECT_THAT(validate.err, HasSubstr("not a regular file"));

  const CommandResult missing = run({"validate", (home_.path() / "nowhere.json").string()});
  EXPECT_NE(missing.exitStatus, 0);
  EXPECT_THAT(missing.err, HasSubstr("no such file"));
}

TEST_F(KelpoWidgetCommand, PlaceholderAndPreviewHaveNoReloadDate) {
  for (const char* request : {"--placeholder", "--preview"}) {
    const CommandResult result = run({"timeline", request});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_THAT(result.out, HasSubstr("\"weekLabel\": \"2 h 15 / 5 h\""));
    EXPECT_THAT(result.out, testing::Not(HasSubstr("reloadDate")));
  }
}

TEST_F(KelpoWidgetCommand, BadOptionsFailWithAMessage) {
  const struct {
    std::vector<std::string> arguments;
    const char* message;
  } table[] = {
      {{"timeline", "--now", "tomorrow"}, "--now"},
      {{"sample", "--time-zone", "Mars/Olympus_Mons"}, "unknown time zone"},
      {{"frobnicate"}, "unknown verb"},
  };
  for (const auto& [arguments, message] : table) {
    const CommandResult result = run(arguments);
    EXPECT_NE(result.exitStatus, 0) << message;
    EXPECT_THAT(result.err, HasSubstr(message));
  }
}

TEST_F(KelpoWidgetCommand, DesktopAutostartRepeatsItsOptionsAndChecksThemFirst) {
  const std::filesystem::path entry = home_.path() / "config/autostart/kelpo-widget.desktop";
  const CommandResult bad = run({"desktop", "--install-autostart", "--corner", "middle"});
  EXPECT_NE(bad.exitStatus, 0);
  EXPECT_FALSE(std::filesystem::exists(entry)) << "a bad option still wrote the entry";

  const CommandResult on = run({"desktop", "--install-autostart", "--family", "small", "--family",
                                "medium", "--corner", "bottom-left", "--now", monday0659});
  ASSERT_EQ(on.exitStatus, 0) << on.err;
  EXPECT_THAT(contents(entry), HasSubstr("Exec=kelpo-widget desktop --family small --family medium "
                                         "--corner bottom-left\n"));

  const CommandResult off = run({"desktop", "--remove-autostart"});
  ASSERT_EQ(off.exitStatus, 0) << off.err;
  EXPECT_FALSE(std::filesystem::exists(entry));
  EXPECT_NE(run({"desktop", "--install-autostart", "--remove-autostart"}).exitStatus, 0);
}

}  // namespace
}  // namespace kelpo
