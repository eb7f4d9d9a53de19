// The host's settings: the command line wins over desktop.ini key by key;
// a bad word of the command line is refused with the option it came from,
// one of the file costs that word only.

#include "desktop/settings/desktop_settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "support/temporary_directory.h"

namespace kelpo::desktop {
namespace {

[[nodiscard]] std::vector<WidgetFamily> familiesOf(const HostSettings& settings) {
  std::vector<WidgetFamily> families;
  for (const KeptInstance& instance : settings.instances) families.push_back(instance.family);
  return families;
}

TEST(DesktopSettings, CommandLineWinsOverTheFileKeyByKey) {
  SettingWords file;
  file.families = {"small", "medium"};
  file.corner = "bottom-left";
  file.margin = "8";
  file.appearance = "dark";
  SettingWords commandLine;
  commandLine.corner = "top-left";
  commandLine.reduceMotion = "on";
  const auto settings = resolveSettings(commandLine, file);
  ASSERT_TRUE(settings.ok()) << settings.error();
  EXPECT_EQ(familiesOf(*settings),
            (std::vector{WidgetFamily::systemSmall, WidgetFamily::systemMedium}));
  EXPECT_EQ(settings->placement.corner, Corner::topLeft);
  EXPECT_DOUBLE_EQ(settings->placement.margin, 8);
  EXPECT_EQ(settings->appearance, AppearanceChoice::dark);
  EXPECT_EQ(settings->reduceMotion, MotionChoice::on);

  commandLine.families = {"medium"};
  EXPECT_EQ(familiesOf(*resolveSettings(commandLine, file)),
            std::vector{WidgetFamily::systemMedium});

  const auto defaults = resolveSettings({}, {});
  ASSERT_TRUE(defaults.ok());
  EXPECT_EQ(familiesOf(*defaults), std::vector{WidgetFamily::systemMedium});
  EXPECT_EQ(defaults->placement.corner, Corner::topRight);
  EXPECT_DOUBLE_EQ(defaults->placement.margin, 24);
  EXPECT_FALSE(defaults->placement.monitor);
  EXPECT_EQ(defaults->appearance, AppearanceChoice::automatic);
}

// The instances a person placed come back at the next start, unless the
// command line asks for others or for another corner or monitor.
TEST(DesktopSettings, KeptInstancesComeBackUnlessTheCommandLineSaysOtherwise) {
  SettingWords file;
  file.families = {"small"};  // what the previous version wrote
  file.instances = {
      {WidgetFamily::systemSmall, "HDMI-A-1", InstancePlace{Corner::bottomLeft, 40, 60}, 1},
      {WidgetFamily::systemMedium, std::nullopt, std::nullopt, 2}};
  const auto kept = resolveSettings({}, file);
  ASSERT_TRUE(kept.ok());
  EXPECT_EQ(kept->instances, file.instances);

  SettingWords corner;
  corner.corner = "top-right";
  SettingWords monitor;
  monitor.monitor = "DP-2";
  const auto cornered = resolveSettings(corner, file);
  const auto moved = resolveSettings(monitor, file);
  ASSERT_TRUE(cornered.ok() && moved.ok());
  EXPECT_FALSE(cornered->instances[0].place) << "--corner puts every instance at that corner";
  EXPECT_EQ(cornered->instances[0].monitor, "HDMI-A-1");
  EXPECT_FALSE(moved->instances[0].monitor) << "--monitor puts every instance there";
  EXPECT_EQ(moved->placement.monitor, "DP-2");
  EXPECT_TRUE(moved->instances[0].place);

  file.instances.clear();
  EXPECT_EQ(familiesOf(*resolveSettings({}, file)), std::vector{WidgetFamily::systemSmall})
      << "a file of the previous version still loads";
}

// What the host writes is what it reads at the next start; the rest of the
// file stays as the person wrote it.
TEST(DesktopSettings, SavedInstancesAndAppearanceReadBack) {
  const testing_support::TemporaryDirectory directory;
  const auto file = directory.path() / "app.kelpo.widget" / "desktop.ini";
  const std::vector<KeptInstance> instances{
      {WidgetFamily::systemSmall, "DP-1", InstancePlace{Corner::topLeft, 10, 20}, 0}};
  const auto saved = saveSettings(file, instances, AppearanceChoice::dark);
  ASSERT_TRUE(saved.ok()) << saved.error();
  ASSERT_EQ(saved->size(), 1u);
  EXPECT_EQ(saved->front().group, 1);
  const auto read = readSettingsFile(file);
  EXPECT_TRUE(read.ignored.empty());
  EXPECT_EQ(read.instances, *saved);
  EXPECT_EQ(read.appearance, "dark");

  std::filesystem::remove(file);
  ::mkfifo(file.c_str(), 0600);
  EXPECT_FALSE(saveSettings(file, instances, AppearanceChoice::light).ok()) << "a FIFO is refused";
}

TEST(DesktopSettings, BadWordsOfTheCommandLineAreRefusedThoseOfTheFileLeftOut) {
  struct Case {
    SettingWords words;
    const char* option;
  };
  const auto with = [](auto set) {
    SettingWords words;
    set(words);
    return words;
  };
  const Case cases[] = {
      {with([](SettingWords& w) { w.families = {"large"}; }), "family"},
      {with([](SettingWords& w) { w.corner = "top"; }), "corner"},
      {with([](SettingWords& w) { w.margin = "-1"; }), "margin"},
      {with([](SettingWords& w) { w.margin = "nan"; }), "margin"},
      {with([](SettingWords& w) { w.margin = "1e9"; }), "margin"},
      {with([](SettingWords& w) { w.monitor = "-1"; }), "monitor"},
      {with([](SettingWords& w) { w.monitor = "64"; }), "monitor"},
      {with([](SettingWords& w) { w.monitor = "DP 1"; }), "monitor"},
      {with([](SettingWords& w) { w.appearance = "night"; }), "appearance"},
      {with([](SettingWords& w) { w.reduceMotion = "yes"; }), "reduce-motion"},
  };
  const auto defaults = resolveSettings({}, {});
  ASSERT_TRUE(defaults.ok());
  for (const Case& c : cases) {
    const auto refused = resolveSettings(c.words, {});
    ASSERT_FALSE(refused.ok()) << c.option;
    EXPECT_TRUE(refused.error().starts_with("--" + std::string(c.option))) << refused.error();
    // The same word from the file costs that word: the default stands.
    const auto fromFile = resolveSettings({}, c.words);
    ASSERT_TRUE(fromFile.ok()) << c.option;
    ASSERT_EQ(fromFile->ignored.size(), 1u) << c.option;
    EXPECT_TRUE(fromFile->ignored[0].starts_with("[desktop] " + std::string(c.option)))
        << fromFile->ignored[0];
    EXPECT_EQ(familiesOf(*fromFile), familiesOf(*defaults)) << c.option;
    EXPECT_EQ(fromFile->placement.corner, defaults->placement.corner) << c.option;
    EXPECT_EQ(fromFile->placement.margin, defaults->placement.margin) << c.option;
    EXPECT_EQ(fromFile->placement.monitor, defaults->placement.monitor) << c.option;
    EXPECT_EQ(fromFile->appearance, defaults->appearance) << c.option;
  }
}

TEST(DesktopSettings, ReadsTheDesktopGroupOfTheFile) {
  const testing_support::TemporaryDirectory directory;
  const auto file = directory.path() / "desktop.ini";
  const auto missing = readSettingsFile(file);
  EXPECT_TRUE(missing.families.empty());
  EXPECT_FALSE(missing.corner);
  EXPECT_TRUE(missing.ignored.empty()) << "no file is no fault";

  std::ofstream(file) << "[desktop]\nfamily=small;medium;\ncorner=bottom-right\nmonitor=1\n";
  const auto read = readSettingsFile(file);
  EXPECT_TRUE(read.ignored.empty());
  EXPECT_EQ(read.families, (std::vector<std::string>{"small", "medium"}));
  EXPECT_EQ(read.corner, "bottom-right");
  EXPECT_EQ(read.monitor, "1");
  EXPECT_FALSE(read.margin);
}

// What a person finds at the next login after a typo: the widgets, less
// what the typo spoilt, and one word of what was ignored.
TEST(DesktopSettings, AFaultInTheFileCostsOnlyWhatItSpoils) {
  const testing_support::TemporaryDirectory directory;
  const auto file = directory.path() / "desktop.ini";
  const std::string placed = "corner=top-left\noffset-x=4\noffset-y=5\n";
  const std::string good = "[desktop]\ncorner=bottom-left\n\n[instance 1]\nsize=small\n" + placed;
  struct Case {
    const char* what;
    std::string text;
    std::vector<WidgetFamily> shown;
    bool lastPlaced;
    bool told;
  };
  const auto small = WidgetFamily::systemSmall;
  const auto medium = WidgetFamily::systemMedium;
  const Case cases[] = {
      {"a size with a typo", good + "[instance 2]\nsize=meduim\n" + placed, {small}, true, true},
      {"a negative offset",
       good + "[instance 2]\nsize=medium\ncorner=top-left\noffset-x=-5\n"
              "offset-y=5\n",
       {small, medium},
       false,
       true},
      {"a missing offset",
       good + "[instance 2]\nsize=medium\ncorner=top-left\noffset-x=5\n",
       {small, medium},
       false,
       true},
      {"a byte-order mark", "\xEF\xBB\xBF" + good, {small}, true, false},
      {"a line of garbage", good + "}}} garbage\n", {small}, true, true},
      {"a bad monitor",
       good + "[instance 2]\nsize=medium\nmonitor=D P\n" + placed,
       {small, medium},
       true,
       true},
      {"a bad family", "[desktop]\nfamily=small;large\n", {small}, false, true},
      {"only bad families", "[desktop]\nfamily=large\n", {medium}, false, true},
  };
  for (const Case& c : cases) {
    std::ofstream(file, std::ios::trunc) << c.text;
    const auto settings = resolveSettings({}, readSettingsFile(file));
    ASSERT_TRUE(settings.ok()) << c.what << ": " << settings.error();
    EXPECT_EQ(familiesOf(*settings), c.shown) << c.what;
    EXPECT_EQ(settings->instances.back().place.has_value(), c.lastPlaced) << c.what;
    EXPECT_FALSE(settings->instances.back().monitor) << c.what;
    EXPECT_EQ(settings->ignored.empty(), !c.told) << c.what;
    if (c.text.find("[desktop]\ncorner") != std::string::npos) {
      EXPECT_EQ(settings->placement.corner, Corner::bottomLeft) << c.what << ": the rest is read";
    }
  }
}

TEST(DesktopSettings, WhatIsNoSmallRegularFileGivesTheDefaultsWithoutWaiting) {
  const testing_support::TemporaryDirectory directory;
  const auto file = directory.path() / "desktop.ini";
  struct Case {
    const char* what;
    void (*make)(const std::filesystem::path&);
  };
  const Case cases[] = {
      // Opening a FIFO for reading waits for a writer: a start held for ever.
      {"a FIFO", [](const std::filesystem::path& at) { ASSERT_EQ(::mkfifo(at.c_str(), 0600), 0); }},
      {"a directory",
       [](const std::filesystem::path& at) { std::filesystem::create_directory(at); }},
      {"a file over 64 KiB",
       [](const std::filesystem::path& at) {
         std::ofstream(at) << "[desktop]\ncorner=top-left\n# " << std::string(64 * 1024, 'x')
                           << '\n';
       }},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(file);
    c.make(file);
    const auto words = readSettingsFile(file);
    EXPECT_EQ(words.ignored.size(), 1u) << c.what;
    const auto settings = resolveSettings({}, words);
    ASSERT_TRUE(settings.ok()) << c.what;
    EXPECT_EQ(settings->instances, std::vector<KeptInstance>{KeptInstance{}}) << c.what;
    EXPECT_EQ(settings->placement.corner, Corner::topRight) << c.what;
  }
}

// A file of thousands of groups shows a dozen windows, not thousands.
TEST(DesktopSettings, AtMostMaxInstancesShow) {
  SettingWords file;
  for (int i = 1; i <= 2400; ++i) file.instances.push_back({WidgetFamily::systemSmall, {}, {}, i});
  const auto settings = resolveSettings({}, file);
  ASSERT_TRUE(settings.ok());
  ASSERT_EQ(settings->instances.size(), maxInstances);
  EXPECT_EQ(settings->instances.back().group, static_cast<int>(maxInstances));
  EXPECT_EQ(settings->unshownInstances, 2400 - maxInstances);
  SettingWords commandLine;
  commandLine.families.assign(maxInstances + 1, "small");
  EXPECT_EQ(resolveSettings(commandLine, {})->instances.size(), maxInstances);
}

// A save writes what it owns and nothing else: a read-only file stays as it
// is, a file keeps its mode, a link stays a link and its target is written.
TEST(DesktopSettings, ASaveRespectsTheFileItWrites) {
  const testing_support::TemporaryDirectory directory;
  const auto config = directory.path() / "config";
  const auto dotfiles = directory.path() / "dotfiles";
  std::filesystem::create_directories(config);
  std::filesystem::create_directories(dotfiles);
  const auto file = config / "desktop.ini";
  const auto target = dotfiles / "kelpo.ini";
  const std::string before = "# mine\n[desktop]\nappearance=light\n";
  const std::vector<KeptInstance> instances{{WidgetFamily::systemSmall, {}, {}, 0}};
  const auto contentOf = [](const std::filesystem::path& at) {
    std::ifstream in(at);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  const auto modeOf = [](const std::filesystem::path& at) {
    return std::filesystem::status(at).permissions() & std::filesystem::perms::mask;
  };
  using std::filesystem::perms;
  struct Case {
    const char* what;
    perms mode;
    bool link;
    bool saved;
  };
  const Case cases[] = {
      {"read-only", perms::owner_read | perms::group_read | perms::others_read, false, false},
      {"private", perms::owner_read | perms::owner_write, false, true},
      {"a link to a private file", perms::owner_read | perms::owner_write, true, true},
      {"a link to a read-only file", perms::owner_read, true, false},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(file);
    std::filesystem::remove(target);
    const auto written = c.link ? target : file;
    std::ofstream(written) << before;
    std::filesystem::permissions(written, c.mode);
    if (c.link) std::filesystem::create_symlink("../dotfiles/kelpo.ini", file);

    const auto saved = saveSettings(file, instances, AppearanceChoice::dark);
    EXPECT_EQ(saved.ok(), c.saved) << c.what;
    if (!c.saved) {
      ASSERT_FALSE(saved.ok());
      EXPECT_TRUE(saved.error().ends_with(readOnlyReason)) << saved.error();
      EXPECT_EQ(contentOf(written), before) << c.what;
    } else {
      EXPECT_TRUE(contentOf(written).starts_with("# mine\n[desktop]\nappearance=dark\n")) << c.what;
    }
    EXPECT_EQ(modeOf(written), c.mode) << c.what;
    EXPECT_EQ(std::filesystem::is_symlink(file), c.link) << c.what;
  }
}

}  // namespace
}  // namespace kelpo::desktop
