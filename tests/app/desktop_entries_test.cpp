#include <glib.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "command/command_error.h"
#include "launcher/autostart_entry.h"
#include "launcher/desktop_entry.h"
#include "launcher/man_page.h"
#include "support/scoped_environment_variable.h"
#include "support/temporary_directory.h"

namespace kelpo::app {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;
using testing_support::ScopedEnvironmentVariable;
using testing_support::TemporaryDirectory;

const std::filesystem::path phrases = std::filesystem::path(KELPO_RESOURCE_DIR) / "phrases";

using KeyFile = std::unique_ptr<GKeyFile, decltype(&g_key_file_free)>;

// An entry read back the way desktops read it (GLib's key-file parser).
[[nodiscard]] KeyFile parsedEntry(const std::string& text) {
  KeyFile file(g_key_file_new(), &g_key_file_free);
  EXPECT_TRUE(g_key_file_load_from_data(file.get(), text.data(), text.size(),
                                        G_KEY_FILE_KEEP_TRANSLATIONS, nullptr))
      << text;
  return file;
}

[[nodiscard]] std::string value(const KeyFile& file, const char* key,
                                const char* locale = nullptr) {
  gchar* raw = locale != nullptr
                   ? g_key_file_get_locale_string(file.get(), "Desktop Entry", key, locale, nullptr)
                   : g_key_file_get_string(file.get(), "Desktop Entry", key, nullptr);
  std::string text = raw != nullptr ? raw : "(absent)";
  g_free(raw);
  return text;
}

// The argument vector a launcher makes of an Exec value: string escapes
// undone by the key-file parser, "%%" made "%", then the quoting rules, which
// GLib's shell parser follows for double quotes.
[[nodiscard]] std::vector<std::string> launchedArguments(const std::string& text) {
  std::string exec = value(parsedEntry(text), "Exec");
  for (std::size_t at = exec.find("%%"); at != std::string::npos; at = exec.find("%%", at + 1)) {
    exec.erase(at, 1);
  }
  gchar** argv = nullptr;
  EXPECT_TRUE(g_shell_parse_argv(exec.c_str(), nullptr, &argv, nullptr)) << exec;
  std::vector<std::string> arguments(argv, argv + (argv != nullptr ? g_strv_length(argv) : 0));
  g_strfreev(argv);
  return arguments;
}

TEST(DesktopEntryExec, AnyOptionsComeBackAsTheLauncherSplitsThem) {
  const std::vector<std::vector<std::string>> optionLists = {
      {},
      {"--snapshot", "/home/léa/mes widgets/widget.json"},
      {"--snapshot", "a\"b'c`d$e\\f"},
      {"--label", "100% done", "%f", "two\nlines\tand tab"},
      {"", " leading space", "~", "#not a comment", "a;b&c|d<e>f*g?h(i)"},
  };
  for (const auto& options : optionLists) {
    std::vector<std::string> expected{"kelpo-widget", "desktop"};
    expected.insert(expected.end(), options.begin(), options.end());
    EXPECT_EQ(launchedArguments(desktopEntryText(DesktopEntryRole::autostart, options, phrases)),
              expected);
  }
}

TEST(DesktopEntryExec, RefusesWhatAnEntryCannotHold) {
  for (const std::string& bad :
       {std::string("\xff\xfe"), std::string("bell\x07"), std::string("nul\0inside", 10)}) {
    const std::vector<std::string> options{"--snapshot", bad};
    EXPECT_THROW((void)desktopEntryText(DesktopEntryRole::autostart, options, phrases),
                 CommandError);
  }
}

TEST(DesktopEntryText, NamesTheWidgetInEveryLanguageAndSaysHowItStarts) {
  const KeyFile menu = parsedEntry(desktopEntryText(DesktopEntryRole::application, {}, phrases));
  EXPECT_EQ(value(menu, "Name"), "kelpo");
  EXPECT_EQ(value(menu, "Comment"),
            "Ce qui attend d’être trié, ta semaine et la prochaine fouille.");
  EXPECT_EQ(value(menu, "Comment", "en"),
            "What’s waiting to be sorted, your week and the next search.");
  EXPECT_EQ(value(menu, "Categories"), "Utility;");
  struct Case {
    DesktopEntryRole role;
    const char* key;
    const char* expected;
  };
  for (const Case& c : {Case{DesktopEntryRole::application, "Hidden", "(absent)"},
                        Case{DesktopEntryRole::autostart, "X-GNOME-Autostart-enabled", "true"},
                        Case{DesktopEntryRole::hiddenAutostart, "Hidden", "true"}}) {
    const KeyFile entry = parsedEntry(desktopEntryText(c.role, {}, phrases));
    EXPECT_EQ(value(entry, "Name"), "kelpo");
    EXPECT_EQ(value(entry, c.key), c.expected) << c.key;
  }
}

// Each test has its own user and system directories; the entry text is
// checked above, so these look at which file holds what.
class UserAutostart : public ::testing::Test {
 protected:
  [[nodiscard]] std::filesystem::path userEntry() const {
    return directories_.user / "kelpo-widget.desktop";
  }
  [[nodiscard]] std::string userEntryText() const {
    std::ifstream file(userEntry());
    return std::string(std::istreambuf_iterator<char>(file), {});
  }
  void installSystemEntry() const {
    std::filesystem::create_directories(directories_.system.back());
    std::ofstream(directories_.system.back() / "kelpo-widget.desktop") << "[Desktop Entry]\n";
  }

  TemporaryDirectory root_;
  AutostartDirectories directories_{
      root_.path() / "config" / "autostart",
      {root_.path() / "none" / "autostart", root_.path() / "etc" / "xdg" / "autostart"}};
  std::ostringstream out_;
};

TEST_F(UserAutostart, InstallReplacesAnEarlierEntryAndRemoveDeletesIt) {
  installAutostart(std::vector<std::string>{"--family", "small"}, directories_, out_);
  installAutostart(std::vector<std::string>{"--family", "medium"}, directories_, out_);
  EXPECT_THAT(userEntryText(), HasSubstr("Exec=kelpo-widget desktop --family medium\n"));
  EXPECT_THAT(out_.str(), HasSubstr("autostart on: wrote " + userEntry().string()));
  // Nothing left over from the atomic writes.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directories_.user), {}), 1);
  removeAutostart(directories_, out_);
  removeAutostart(directories_, out_);
  EXPECT_FALSE(std::filesystem::exists(userEntry()));
  EXPECT_THAT(out_.str(), HasSubstr("autostart off: removed " + userEntry().string()));
  EXPECT_THAT(out_.str(), HasSubstr("autostart already off"));
}

TEST_F(UserAutostart, RemoveHidesASystemWideEntryInsteadOfUncoveringIt) {
  installSystemEntry();
  removeAutostart(directories_, out_);
  EXPECT_THAT(userEntryText(), HasSubstr("Hidden=true\n"));
  EXPECT_THAT(out_.str(), HasSubstr("etc/xdg/autostart/kelpo-widget.desktop"));
  installAutostart({}, directories_, out_);
  EXPECT_THAT(userEntryText(), Not(HasSubstr("Hidden")));
}

// Run as root too, so the failures come from the file system's shape rather
// than from permissions.
TEST_F(UserAutostart, FailsClearlyWhenTheDirectoryCannotBeWritten) {
  std::filesystem::create_directories(root_.path() / "config");
  std::ofstream(root_.path() / "config" / "autostart") << "a file, not a directory";
  EXPECT_THROW(installAutostart({}, directories_, out_), CommandError);

  std::filesystem::remove(root_.path() / "config" / "autostart");
  std::filesystem::create_directories(userEntry());  // a directory where the entry goes
  try {
    installAutostart({}, directories_, out_);
    ADD_FAILURE() << "wrote over a directory";
  } catch (const CommandError& error) {
    EXPECT_THAT(error.what(), HasSubstr(userEntry().string()));
  }
  std::filesystem::create_directories(userEntry() / "inside");
  EXPECT_THROW(removeAutostart(directories_, out_), CommandError);
  EXPECT_EQ(out_.str(), "");
}

TEST(AutostartDirectoriesFromEnvironment, FollowTheBaseDirectoryRules) {
  struct Case {
    std::optional<std::string> configDirs;
    std::vector<std::filesystem::path> expected;
  };
  const Case cases[] = {
      {std::nullopt, {"/etc/xdg/autostart"}},
      {"", {"/etc/xdg/autostart"}},
      {"/a::relative:/b/", {"/a/autostart", "/b//autostart"}},
  };
  const ScopedEnvironmentVariable home("XDG_CONFIG_HOME", "/home/léa/.config");
  for (const Case& c : cases) {
    const ScopedEnvironmentVariable dirs("XDG_CONFIG_DIRS", c.configDirs);
    const AutostartDirectories directories = AutostartDirectories::fromEnvironment();
    EXPECT_EQ(directories.user, "/home/léa/.config/autostart");
    EXPECT_EQ(directories.system, c.expected) << c.configDirs.value_or("(unset)");
  }
}

TEST(ManPage, NamesTheShownVerbsAndKeepsHelpTextAsWritten) {
  CLI::App command("Does things.", "tool");
  command.add_subcommand("shown", ".starts like a request");
  command.add_subcommand("internal", "A verb for the build")->group("");
  EXPECT_THAT(manPage(command, "1.0"),
              AllOf(HasSubstr(".SS shown\n"), HasSubstr("\n\\&.starts like a request"),
                    Not(HasSubstr("internal"))));
}

}  // namespace
}  // namespace kelpo::app
