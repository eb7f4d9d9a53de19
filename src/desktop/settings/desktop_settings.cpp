#include "desktop/settings/desktop_settings.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <string_view>
#include <system_error>
#include <utility>

#include "base/files/bounded_file.h"
#include "base/files/replacing_file.h"
#include "base/files/user_directories.h"
#include "desktop/settings/key_file_document.h"
#include "desktop/settings/monitor_preference.h"
#include "widget/widget_preferences.h"

namespace kelpo::desktop {
namespace {

constexpr const char* settingsGroup = "desktop";
// A desktop.ini of a few keys takes some hundred bytes.
constexpr std::size_t maxSettingsFileBytes = 64 * 1024;

// Margins beyond this would put the widget off any screen.
constexpr double largestMargin = 4096;

template <typename Value>
struct Named {
  std::string_view name;
  Value value;
};

constexpr auto families = [] {
  std::array<Named<WidgetFamily>, widgetSizes.size()> named{};
  for (std::size_t i = 0; i < widgetSizes.size(); ++i) {
    named[i] = {widgetSizes[i].name, widgetSizes[i].family};
  }
  return named;
}();
constexpr auto corners = [] {
  std::array<Named<Corner>, allCorners.size()> named{};
  for (std::size_t i = 0; i < allCorners.size(); ++i) {
    named[i] = {cornerName(allCorners[i]), allCorners[i]};
  }
  return named;
}();
constexpr std::array appearances{Named<AppearanceChoice>{"auto", AppearanceChoice::automatic},
                                 Named<AppearanceChoice>{"light", AppearanceChoice::light},
                                 Named<AppearanceChoice>{"dark", AppearanceChoice::dark}};
constexpr std::array motions{Named<MotionChoice>{"auto", MotionChoice::automatic},
                             Named<MotionChoice>{"on", MotionChoice::on},
                             Named<MotionChoice>{"off", MotionChoice::off}};

template <typename Value, std::size_t N>
[[nodiscard]] std::optional<Value> valueNamed(const std::array<Named<Value>, N>& table,
                                              std::string_view word) {
  for (const auto& entry : table)
    if (entry.name == word) return entry.value;
  return std::nullopt;
}

template <typename Value, std::size_t N>
[[nodiscard]] std::string namesOf(const std::array<Named<Value>, N>& table) {
  std::string names;
  for (const auto& entry : table) names += (names.empty() ? "" : ", ") + std::string(entry.name);
  return names;
}

[[nodiscard]] Failure refusal(const std::string& name, const std::string& word,
                              std::string_view expected) {
  return Failure{name + ": \"" + word + "\" is not " + std::string(expected)};
}

template <typename Value, std::size_t N>
[[nodiscard]] Result<Value> choiceNamed(const std::array<Named<Value>, N>& table,
                                        const std::string& word, const std::string& name) {
  if (const auto value = valueNamed(table, word)) return *value;
  return refusal(name, word, "one of " + namesOf(table));
}

[[nodiscard]] Result<double> marginNamed(const std::string& word, const std::string& name) {
  if (const auto margin = pointsNamed(word, largestMargin)) return *margin;
  return refusal(name, word, "a number of points from 0 to 4096");
}

// A monitor is named by its connector ("DP-1", "HDMI-A-1") or its number.
[[nodiscard]] Result<std::optional<std::string>> monitorNamed(const std::string& word,
                                                              const std::string& name) {
  if (isMonitorWord(word)) return std::optional<std::string>(word);
  return Failure{name + ": \"" + word +
                 "\" is neither a monitor number from 0 to 63 nor a connector name"};
}

// One option: the command line's word, which must name a value, else the
// file's, which is left out when it names none.
template <typename Value, typename Parse>
[[nodiscard]] Status chooseValue(const std::optional<std::string>& commandLine,
                                 const std::optional<std::string>& file, const char* option,
                                 Parse parse, Value& out, std::vector<std::string>& ignored) {
  if (commandLine) {
    auto value = parse(*commandLine, "--" + std::string(option));
    if (!value) return value.failure();
    out = std::move(value).value();
  } else if (file) {
    auto value = parse(*file, "[desktop] " + std::string(option));
    if (value) {
      out = std::move(value).value();
    } else {
      ignored.push_back(value.error() + "; the default is used");
    }
  }
  return Done{};
}

[[nodiscard]] Result<std::vector<KeptInstance>> instancesOfFamilies(
    const std::vector<std::string>& words, std::vector<std::string>* ignored) {
  std::vector<KeptInstance> instances;
  for (const std::string& word : words) {
    const auto family = choiceNamed(families, word, ignored ? "[desktop] family" : "--family");
    if (family) {
      instances.push_back(KeptInstance{*family, std::nullopt, std::nullopt, 0});
    } else if (ignored) {
      ignored->push_back(family.error() + "; this widget is not shown");
    } else {
      return family.failure();
    }
  }
  return instances;
}

// Which instances show: see resolveSettings.
[[nodiscard]] Result<std::vector<KeptInstance>> chosenInstances(const SettingWords& commandLine,
                                                                const SettingWords& file,
                                                                std::vector<std::string>& ignored) {
  if (!commandLine.families.empty()) return instancesOfFamilies(commandLine.families, nullptr);
  if (!file.instances.empty()) {
    std::vector<KeptInstance> instances = file.instances;
    for (KeptInstance& instance : instances) {
      if (commandLine.corner || commandLine.margin) instance.place.reset();
      if (commandLine.monitor) instance.monitor.reset();
    }
    return instances;
  }
  auto listed = instancesOfFamilies(file.families, &ignored);
  if (listed && !listed->empty()) return listed;
  return std::vector<KeptInstance>{KeptInstance{}};
}

[[nodiscard]] std::vector<std::string> familyList(const KeyFileDocument& document) {
  std::vector<std::string> words;
  const std::string value = document.value(settingsGroup, "family").value_or("");
  std::string_view list = value;
  while (!list.empty()) {
    const auto end = list.find(';');
    if (end != 0) words.emplace_back(list.substr(0, end));
    list = end == std::string_view::npos ? std::string_view() : list.substr(end + 1);
  }
  return words;
}

}  // namespace

std::filesystem::path defaultSettingsFile() {
  return userConfigDirectory().value_or(std::filesystem::path(".config")) /
         widgetConfigurationName / "desktop.ini";
}

SettingWords readSettingsFile(const std::filesystem::path& file) {
  std::error_code missing;
  if (!std::filesystem::exists(file, missing)) return SettingWords{};
  // Read as the snapshot is: a FIFO or a device in the file's place would
  // otherwise hold the start up for ever.
  const auto text = readSmallRegularFile(file, maxSettingsFileBytes);
  SettingWords words;
  if (!text) {
    words.ignored.emplace_back("the whole file, not a readable regular file of at most 64 KiB");
    return words;
  }
  const auto document = KeyFileDocument::parse(*text);
  for (const std::size_t line : document.strayLines()) {
    words.ignored.push_back("line " + std::to_string(line) +
                            ", neither a group, a key in a group nor a comment");
  }
  words.families = familyList(document);
  words.corner = document.value(settingsGroup, "corner");
  words.margin = document.value(settingsGroup, "margin");
  words.monitor = document.value(settingsGroup, "monitor");
  words.appearance = document.value(settingsGroup, "appearance");
  words.reduceMotion = document.value(settingsGroup, "reduce-motion");
  auto instances = readKeptInstances(document);
  words.instances = std::move(instances.instances);
  words.ignored.insert(words.ignored.end(), instances.ignored.begin(), instances.ignored.end());
  return words;
}

Result<HostSettings> resolveSettings(const SettingWords& commandLine, const SettingWords& file) {
  HostSettings settings;
  settings.ignored = file.ignored;
  auto instances = chosenInstances(commandLine, file, settings.ignored);
  if (!instances) return instances.failure();
  settings.instances = std::move(instances).value();
  if (settings.instances.size() > maxInstances) {
    settings.unshownInstances = settings.instances.size() - maxInstances;
    settings.instances.resize(maxInstances);
  }
  Placement& placement = settings.placement;
  const auto corner = [](const std::string& word, const std::string& name) {
    return choiceNamed(corners, word, name);
  };
  const auto appearance = [](const std::string& word, const std::string& name) {
    return choiceNamed(appearances, word, name);
  };
  const auto motion = [](const std::string& word, const std::string& name) {
    return choiceNamed(motions, word, name);
  };
  std::vector<std::string>& ignored = settings.ignored;
  for (const Status& read :
       {chooseValue(commandLine.corner, file.corner, "corner", corner, placement.corner, ignored),
        chooseValue(commandLine.margin, file.margin, "margin", marginNamed, placement.margin,
                    ignored),
        chooseValue(commandLine.monitor, file.monitor, "monitor", monitorNamed, placement.monitor,
                    ignored),
        chooseValue(commandLine.appearance, file.appearance, "appearance", appearance,
                    settings.appearance, ignored),
        chooseValue(commandLine.reduceMotion, file.reduceMotion, "reduce-motion", motion,
                    settings.reduceMotion, ignored)}) {
    if (!read) return read.failure();
  }
  return settings;
}

Result<std::vector<KeptInstance>> saveSettings(const std::filesystem::path& file,
                                               std::span<const KeptInstance> instances,
                                               AppearanceChoice appearance) {
  std::string text;
  struct stat status {};
  // Through a link, to the file it leads to, which is what is written.
  if (::stat(file.c_str(), &status) == 0) {
    if (S_ISREG(status.st_mode) && (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
      return Failure{file.string() + ": " + std::string(readOnlyReason)};
    }
    auto content = readSmallRegularFile(file, maxSettingsFileBytes);
    if (!content) return Failure{file.string() + ": not a readable regular file of at most 64 KiB"};
    text = std::move(*content);
  }
  auto document = KeyFileDocument::parse(text);
  const DesktopKey keys[] = {{"appearance", std::string(appearanceName(appearance))}};
  std::vector<KeptInstance> kept = keepInstances(document, instances, keys);
  std::error_code ignored;
  std::filesystem::create_directories(file.parent_path(), ignored);
  const std::string written = document.text();
  const auto* bytes = reinterpret_cast<const unsigned char*>(written.data());
  if (const Status saved = writeFileReplacing(file, {bytes, written.size()}); !saved) {
    return saved.failure();
  }
  return kept;
}

std::string_view appearanceName(AppearanceChoice appearance) {
  for (const auto& entry : appearances) {
    if (entry.value == appearance) return entry.name;
  }
  return appearances.front().name;
}

}  // namespace kelpo::desktop
