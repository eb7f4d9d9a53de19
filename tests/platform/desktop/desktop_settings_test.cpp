// The host's settings: the command line wins over desktop.ini key by key,
// and every bad word is refused with the option it came from.

#include "platform/desktop/settings/desktop_settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "support/temporary_directory.h"

namespace kelpo::desktop {
namespace {

TEST(DesktopSettings, CommandLineWinsOverTheFileKeyByKey) {
  SettingWords file;
  file.families = {"small", "medium"};
  file.corner = "bottom-left";
  file.margin = "8";
  file.appearance = "dark";
  SettingWords commandLine;
  commandLine.corner = "top-left";
  commandLine.reduceMotion = "on";
  std::string error;
  const auto settings = resolveSettings(commandLine, file, error);
  ASSERT_TRUE(settings) << error;
  EXPECT_EQ(settings->families,
            (std::vector{WidgetFamily::systemSmall, WidgetFamily::systemMedium}));
  EXPECT_EQ(settings->placement.corner, Corner::topLeft);
  EXPECT_DOUBLE_EQ(settings->placement.margin, 8);
  EXPECT_EQ(settings->appearance, AppearanceChoice::dark);
  EXPECT_EQ(settings->reduceMotion, MotionChoice::on);

  commandLine.families = {"medium"};
  EXPECT_EQ(resolveSettings(commandLine, file, error)->families,
            std::vector{WidgetFamily::systemMedium});

  const auto defaults = resolveSettings({}, {}, error);
  ASSERT_TRUE(defaults);
  EXPECT_EQ(defaults->families, std::vector{WidgetFamily::systemMedium});
  EXPECT_EQ(defaults->placement.corner, Corner::topRight);
  EXPECT_DOUBLE_EQ(defaults->placement.margin, 24);
  EXPECT_FALSE(defaults->placement.monitor);
  EXPECT_EQ(defaults->appearance, AppearanceChoice::automatic);
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
      {with([](SettingWords& w) { w.appearance = "night"; }), "--appearance"},
      {with([](SettingWords& w) { w.reduceMotion = "yes"; }), "--reduce-motion"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(resolveSettings(c.words, {}, error)) << c.option;
    EXPECT_TRUE(error.starts_with(c.option)) << error;
    // The same word from the file is refused the same way.
    EXPECT_FALSE(resolveSettings({}, c.words, error)) << c.option;
  }
}

TEST(DesktopSettings, ReadsTheDesktopGroupOfTheFile) {
  const testing_support::TemporaryDirectory directory;
  const auto file = directory.path() / "desktop.ini";
  std::string error;
  const auto missing = readSettingsFile(file, error);
  ASSERT_TRUE(missing);
  EXPECT_TRUE(missing->families.empty());
  EXPECT_FALSE(missing->corner);

  std::ofstream(file) << "[desktop]\nfamily=small;medium\ncorner=bottom-right\nmonitor=1\n";
  const auto read = readSettingsFile(file, error);
  ASSERT_TRUE(read) << error;
  EXPECT_EQ(read->families, (std::vector<std::string>{"small", "medium"}));
  EXPECT_EQ(read->corner, "bottom-right");
  EXPECT_EQ(read->monitor, "1");
  EXPECT_FALSE(read->margin);

  std::ofstream(file) << "not a key file\n";
  EXPECT_FALSE(readSettingsFile(file, error));
  EXPECT_NE(error.find(file.string()), std::string::npos);
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
    std::string error;
    EXPECT_FALSE(readSettingsFile(file, error)) << c.what;
    EXPECT_NE(error.find(file.string()), std::string::npos) << c.what << ": " << error;
  }
}

}  // namespace
}  // namespace kelpo::desktop
