// The host's settings: the command line wins over desktop.ini key by key,
// and every bad word is refused with the option it came from.

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
      {WidgetFamily::systemSmall, "HDMI-A-1", InstancePlace{Corner::bottomLeft, 40, 60}},
      {WidgetFamily::systemMedium, std::nullopt, std::nullopt}};
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
      {WidgetFamily::systemSmall, "DP-1", InstancePlace{Corner::topLeft, 10, 20}}};
  const Status saved = saveSettings(file, instances, AppearanceChoice::dark);
  ASSERT_TRUE(saved.ok()) << saved.error();
  const auto read = readSettingsFile(file);
  ASSERT_TRUE(read.ok()) << read.error();
  EXPECT_EQ(read->instances, instances);
  EXPECT_EQ(read->appearance, "dark");

  std::filesystem::remove(file);
  ::mkfifo(file.c_str(), 0600);
  EXPECT_FALSE(saveSettings(file, instances, AppearanceChoice::light).ok()) << "a FIFO is refused";
}

TEST(DesktopSettings, BadWordsAreRefusedNamingTheOption) {
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
      {with([](SettingWords& w) { w.families = {"large"}; }), "--family"},
      {with([](SettingWords& w) { w.corner = "top"; }), "--corner"},
      {with([](SettingWords& w) { w.margin = "-1"; }), "--margin"},
      {with([](SettingWords& w) { w.margin = "nan"; }), "--margin"},
      {with([](SettingWords& w) { w.margin = "1e9"; }), "--margin"},
      {with([](SettingWords& w) { w.monitor = "-1"; }), "--monitor"},
      {with([](SettingWords& w) { w.monitor = "64"; }), "--monitor"},
      {with([](SettingWords& w) { w.monitor = "DP 1"; }), "--monitor"},
      {with([](SettingWords& w) { w.appearance = "night"; }), "--appearance"},
      {with([](SettingWords& w) { w.reduceMotion = "yes"; }), "--reduce-motion"},
  };
  for (const Case& c : cases) {
    const auto refused = resolveSettings(c.words, {});
    ASSERT_FALSE(refused.ok()) << c.option;
    EXPECT_TRUE(refused.error().starts_with(c.option)) << refused.error();
    // The same word from the file is refused the same way.
    EXPECT_FALSE(resolveSettings({}, c.words).ok()) << c.option;
  }
}

TEST(DesktopSettings, ReadsTheDesktopGroupOfTheFile) {
  const testing_support::TemporaryDirectory directory;
  const auto file = directory.path() / "desktop.ini";
  const auto missing = readSettingsFile(file);
  ASSERT_TRUE(missing.ok());
  EXPECT_TRUE(missing->families.empty());
  EXPECT_FALSE(missing->corner);

  std::ofstream(file) << "[desktop]\nfamily=small;medium\ncorner=bottom-right\nmonitor=1\n";
  const auto read = readSettingsFile(file);
  ASSERT_TRUE(read.ok()) << read.error();
  EXPECT_EQ(read->families, (std::vector<std::string>{"small", "medium"}));
  EXPECT_EQ(read->corner, "bottom-right");
  EXPECT_EQ(read->monitor, "1");
  EXPECT_FALSE(read->margin);

  std::ofstream(file) << "not a key file\n";
  const auto refused = readSettingsFile(file);
  ASSERT_FALSE(refused.ok());
  EXPECT_NE(refused.error().find(file.string()), std::string::npos);
}

TEST(DesktopSettings, WhatIsNoSmallRegularFileIsRefusedWithoutWaiting) {
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
      {"a file of 1 MiB",
       [](const std::filesystem::path& at) {
         std::ofstream(at) << "[desktop]\n# " << std::string(1024 * 1024, 'x') << '\n';
       }},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(file);
    c.make(file);
    const auto refused = readSettingsFile(file);
    ASSERT_FALSE(refused.ok()) << c.what;
    EXPECT_NE(refused.error().find(file.string()), std::string::npos) << c.what;
  }
}

}  // namespace
}  // namespace kelpo::desktop
