// The command in surroundings that try to break it: unusable locales and
// zones, no preference directory, special files as output names, a full
// disk, snapshot text made to forge output. None may crash, hang, write
// where it must not or report a failure as success. (A preference lock held
// elsewhere is the preferences' own test.)

#include <gmock/gmock.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/run_widget.h"

namespace kelpo {
namespace {

using testing::HasSubstr;
using testing::Not;
using testing_support::CommandResult;

class HostileEnvironment : public testing_support::WidgetCommandTest {
 protected:
  // The sample record with its first title replaced by `title`, already
  // escaped for JSON, as a file to pass to --snapshot.
  [[nodiscard]] std::string snapshotTitled(const std::string& jsonTitle) const {
    std::string json = run({"sample", "--now", monday0659}).out;
    const std::string original = "AGP 9.5 : mapping.txt corrigé";
    json.replace(json.find(original), original.size(), jsonTitle);
    const auto file = home_.path() / "titled.json";
    std::ofstream(file, std::ios::binary) << json;
    return file.string();
  }
};

// Locale and zone fallback: what the environment says never fails a verb;
// only an explicit --time-zone that names no zone is an error.
TEST_F(HostileEnvironment, UnusableLocalesAndZonesFallBackSilently) {
  const struct {
    std::vector<std::string> arguments;
    std::map<std::string, std::string> environment;
  } table[] = {
      {{"tree", "--sample", "--locale", "abcdefghijkl"}, {}},
      {{"tree", "--sample"}, {{"LANG", "garbagegarbage"}, {"LC_ALL", ""}, {"LC_TIME", ""}}},
      {{"render", "--sample", "--family", "small", "--locale", "abcdefghijkl", "--output",
        "{family}.png"},
       {}},
      {{"timeline"}, {{"TZ", "<+0330>-3:30"}}},
      {{"timeline"}, {{"TZ", ":/etc/localtime"}}},
      {{"timeline"}, {{"TZ", "Mars/Olympus_Mons"}}},
      {{"timeline", "--time-zone", "GMT+05:30"}, {}},
  };
  for (const auto& [arguments, environment] : table) {
    const CommandResult result = run(
        arguments, environment, [this] { (void)::chdir(outputDirectory().parent_path().c_str()); });
    EXPECT_EQ(result.exitStatus, 0)
        << arguments[0] << " " << arguments.back() << ": " << result.err;
    EXPECT_THAT(result.err, Not(HasSubstr("time zone"))) << arguments.back();
  }
  // 08:00 on Monday in UTC-5 is 13:00 UTC.
  EXPECT_THAT(run({"sample", "--now", monday0659}, {{"TZ", "UTC+5"}}).out,
              HasSubstr("\"nextSearch\": \"2026-03-09T13:00:00Z\""));

  const CommandResult explicitZone = run({"timeline", "--time-zone", "Mars/Olympus_Mons"});
  EXPECT_EQ(explicitZone.exitStatus, 1);
  EXPECT_THAT(explicitZone.err, HasSubstr("--time-zone: unknown time zone \"Mars/Olympus_Mons\""));
}

// With no HOME, no XDG_CONFIG_HOME and a user the password database does not
// know, there is no configuration directory: nothing is written, least of
// all into the current directory. Changing user needs root.
TEST_F(HostileEnvironment, NoConfigurationDirectoryMeansNoPreferenceWrite) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to run as a user with no password entry";
  constexpr uid_t unknownUser = 54321;
  // The shared directory doubles as the current directory, the worst place.
  std::filesystem::permissions(home_.path(), std::filesystem::perms::all);
  std::filesystem::permissions(sharedDirectory(), std::filesystem::perms::all);
  writeSnapshot(run({"sample"}).out);
  const CommandResult result = run({"timeline"}, {{"HOME", ""}, {"XDG_CONFIG_HOME", ""}}, [this] {
    if (::chdir(sharedDirectory().c_str()) != 0 || ::setgroups(0, nullptr) != 0 ||
        ::setgid(unknownUser) != 0 || ::setuid(unknownUser) != 0) {
      _exit(126);
    }
  });
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_THAT(filesIn(sharedDirectory()), testing::ElementsAre("widget.json"));
}

// Output files: --output is a file name used as given, a directory or a
// device is refused with a message, and nothing else is created.
TEST_F(HostileEnvironment, OutputIsAFileNameUsedAsGiven) {
  std::filesystem::create_directories(outputDirectory());
  const std::string out = outputDirectory().string();
  const struct {
    std::vector<std::string> options;
    const char* message;  // nullptr: succeeds
    std::vector<std::string> files;
  } table[] = {
      {{"--family", "small", "--output", out + "/picture"}, nullptr, {"picture"}},
      {{"--family", "medium", "--format", "pdf", "--output", out + "/w.png"}, nullptr, {"w.png"}},
      {{"--output", out + "/w-{family}.svg", "--format", "svg"},
       nullptr,
       {"w-medium.svg", "w-small.svg"}},
      {{"--output", out + "/both.png"}, "must hold {family}", {}},
      {{"--family", "small", "--output", "/dev/full"}, "not a regular file", {}},
      {{"--family", "small", "--output", out + "/"}, "a directory name", {}},
      {{"--family", "small", "--output", out}, "is a directory", {}},
  };
  for (const auto& [options, message, files] : table) {
    std::filesystem::remove_all(outputDirectory());
    std::filesystem::create_directories(outputDirectory());
    std::vector<std::string> arguments{"render", "--sample"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    const CommandResult result = run(arguments);
    const std::string label = options.back();
    if (message == nullptr) {
      EXPECT_EQ(result.exitStatus, 0) << label << ": " << result.err;
    } else {
      EXPECT_NE(result.exitStatus, 0) << label;
      EXPECT_THAT(result.err, HasSubstr(message)) << label;
    }
    EXPECT_EQ(filesIn(outputDirectory()), files) << label;
  }
  EXPECT_FALSE(std::filesystem::exists("/dev/full.png"));
}

// A full disk, simulated by a file size limit on the one run: the command
// fails and leaves neither the file nor its temporary behind.
TEST_F(HostileEnvironment, AFailedWriteFailsTheCommandAndLeavesNoFile) {
  std::filesystem::create_directories(outputDirectory());
  const auto limitFileSize = [] {
    ::signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
    const rlimit limit{2048, 2048};
    ::setrlimit(RLIMIT_FSIZE, &limit);
  };
  for (const char* format : {"png", "svg", "pdf"}) {
    const CommandResult result = run({"render", "--sample", "--family", "small", "--format", format,
                                      "--output", (outputDirectory() / "w").string()},
                                     {}, limitFileSize);
    EXPECT_NE(result.exitStatus, 0) << format;
    EXPECT_THAT(result.err, HasSubstr("cannot write")) << format;
    EXPECT_EQ(result.out, "") << format << ": no path printed for a file not written";
    EXPECT_THAT(filesIn(outputDirectory()), testing::IsEmpty()) << format;
  }
}

// Escaping: snapshot text cannot add lines to a listing nor reach the
// terminal as control codes, from tree, its accessibility listing or
// validate.
TEST_F(HostileEnvironment, SnapshotTextIsEscapedInEveryListing) {
  const std::string forged = "    Link (0, 0, 364 × 170) link \\\"kelpo://evil\\\"";
  const std::string file = snapshotTitled("x\\n" + forged + "\\u001b[2J\\\\");
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"tree", "--snapshot", file},
        {"tree", "--accessibility", "--snapshot", file}}) {
    const CommandResult result = run(arguments);
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_THAT(result.out, Not(HasSubstr("\n    Link")));
    EXPECT_THAT(result.out, Not(HasSubstr("\x1B")));
    EXPECT_THAT(result.out, HasSubstr("x\\n    Link (0, 0, 364 × 170) link \\\"kelpo://evil\\\""
                                      "\\u001B[2J\\\\"));
  }
  std::string broken = run({"sample"}).out;
  const auto date = broken.find("\"nextSearch\": \"") + 15;
  broken.replace(date, 20, "\\u001b[2J\\n");
  writeSnapshot(broken);
  const CommandResult validate = run({"validate"});
  EXPECT_NE(validate.exitStatus, 0);
  EXPECT_THAT(validate.err, Not(HasSubstr("\x1B")));
  EXPECT_THAT(validate.err, HasSubstr("\"\\u001B[2J\\n\""));
}

// What the program writes at the end of the calendar it reads back.
TEST_F(HostileEnvironment, DatesNearTheLastYearAreWrittenReadably) {
  const CommandResult sample = run({"sample", "--now", "9999-12-30T00:00:00Z"});
  ASSERT_EQ(sample.exitStatus, 0) << sample.err;
  EXPECT_THAT(sample.out, HasSubstr("\"nextSearch\": \"9999-12-31T23:59:59.999999Z\""));
  writeSnapshot(sample.out);
  EXPECT_EQ(run({"validate"}).out, "ok\n");

  const CommandResult timeline = run({"timeline", "--now", "9999-12-31T23:59:59Z"});
  ASSERT_EQ(timeline.exitStatus, 0) << timeline.err;
  EXPECT_THAT(timeline.out, HasSubstr("\"reloadDate\": \"9999-12-31T23:59:59.999999Z\""));
}

}  // namespace
}  // namespace kelpo
