#include "desktop/settings/desktop_settings.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <string_view>
#include <system_error>
#include <utility>

#include "base/glib/glib_handles.h"
#include "base/files/bounded_file.h"
#include "base/files/replacing_file.h"
#include "base/files/user_directories.h"
#include "widget/widget_preferences.h"

namespace kelpo::desktop {
namespace {

constexpr const char* settingsGroup = "desktop";
// A desktop.ini of a few keys takes some hundred bytes.
constexpr std::size_t maxSettingsFileBytes = 64 * 1024;

// Margins beyond this would put the widget off any screen.
constexpr double largestMargin = 4096;
constexpr int largestMonitor = 63;

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

// The option's word from the command line, else from the file.
[[nodiscard]] const std::optional<std::string>& chosen(const std::optional<std::string>& first,
                                                       const std::optional<std::string>& second) {
  return first ? first : second;
}

template <typename Value, std::size_t N>
[[nodiscard]] Status readChoice(const std::array<Named<Value>, N>& table,
                                const std::optional<std::string>& word, const char* option,
                                Value& out) {
  if (!word) return Done{};
  if (const auto value = valueNamed(table, *word)) {
    out = *value;
    return Done{};
  }
  return Failure{std::string(option) + ": \"" + *word + "\" is not one of " + namesOf(table)};
}

[[nodiscard]] Status readMargin(const std::optional<std::string>& word, double& out) {
  if (!word) return Done{};
  const auto margin = pointsNamed(*word, largestMargin);
  if (!margin) {
    return Failure{"--margin: \"" + *word + "\" is not a number of points from 0 to 4096"};
  }
  out = *margin;
  return Done{};
}

// A monitor is named by its connector ("DP-1", "HDMI-A-1") or its number: a
// word that starts like a number must be one.
[[nodiscard]] Status readMonitor(const std::optional<std::string>& word,
                                 std::optional<std::string>& out) {
  if (!word) return Done{};
  const bool numeric = !word->empty() && (std::isdigit(static_cast<unsigned char>(word->front())) ||
                                          word->front() == '-' || word->front() == '+');
  if (numeric) {
    int monitor = 0;
    const char* end = word->data() + word->size();
    const auto [rest, failure] = std::from_chars(word->data(), end, monitor);
    if (failure != std::errc() || rest != end || monitor < 0 || monitor > largestMonitor) {
      return Failure{"--monitor: \"" + *word + "\" is not a monitor number from 0 to 63"};
    }
  } else if (word->empty() || word->size() > 64 ||
             std::any_of(word->begin(), word->end(),
                         [](char c) { return !std::isgraph(static_cast<unsigned char>(c)); })) {
    return Failure{"--monitor: \"" + *word + "\" is neither a monitor number nor a connector name"};
  }
  out = *word;
  return Done{};
}

[[nodiscard]] Result<std::vector<KeptInstance>> instancesOfFamilies(
    const std::vector<std::string>& words) {
  std::vector<KeptInstance> instances;
  for (const std::string& word : words) {
    const auto family = valueNamed(families, word);
    if (!family) return Failure{"--family: \"" + word + "\" is not one of " + namesOf(families)};
    instances.push_back(KeptInstance{*family, std::nullopt, std::nullopt});
  }
  return instances;
}

// Which instances show: see resolveSettings.
[[nodiscard]] Result<std::vector<KeptInstance>> chosenInstances(const SettingWords& commandLine,
                                                                const SettingWords& file) {
  if (!commandLine.families.empty()) return instancesOfFamilies(commandLine.families);
  if (!file.instances.empty()) {
    std::vector<KeptInstance> instances = file.instances;
    for (KeptInstance& instance : instances) {
      if (commandLine.corner || commandLine.margin) instance.place.reset();
      if (commandLine.monitor) instance.monitor.reset();
    }
    return instances;
  }
  if (!file.families.empty()) return instancesOfFamilies(file.families);
  return std::vector<KeptInstance>{KeptInstance{}};
}

[[nodiscard]] std::optional<std::string> fileValue(GKeyFile* file, const char* key) {
  if (!g_key_file_has_key(file, settingsGroup, key, nullptr)) return std::nullopt;
  const CharsHandle value(g_key_file_get_string(file, settingsGroup, key, nullptr));
  if (!value) return std::nullopt;
  return std::string(value.get());
}

}  // namespace

std::filesystem::path defaultSettingsFile() {
  return userConfigDirectory().value_or(std::filesystem::path(".config")) /
         widgetConfigurationName / "desktop.ini";
}

Result<SettingWords> readSettingsFile(const std::filesystem::path& file) {
  std::error_code missing;
  if (!std::filesystem::exists(file, missing)) return SettingWords{};
  // Read as the snapshot is: a FIFO or a device in the file's place would
  // otherwise hold the start up for ever.
  const auto text = readSmallRegularFile(file, maxSettingsFileBytes);
  if (!text) return Failure{file.string() + ": not a readable regular file of at most 64 KiB"};
  const KeyFileHandle keys(g_key_file_new());
  GError* failure = nullptr;
  if (!g_key_file_load_from_data(keys.get(), text->data(), text->size(), G_KEY_FILE_NONE,
                                 &failure)) {
    const ErrorHandle owned(failure);
    return Failure{file.string() + ": " + messageOf(failure)};
  }
  SettingWords words;
  // Several instances: family=small;medium.
  gsize count = 0;
  if (gchar** list =
          g_key_file_get_string_list(keys.get(), settingsGroup, "family", &count, nullptr)) {
    for (gsize i = 0; i < count; ++i) words.families.emplace_back(list[i]);
    g_strfreev(list);
  }
  words.corner = fileValue(keys.get(), "corner");
  words.margin = fileValue(keys.get(), "margin");
  words.monitor = fileValue(keys.get(), "monitor");
  words.appearance = fileValue(keys.get(), "appearance");
  words.reduceMotion = fileValue(keys.get(), "reduce-motion");
  auto instances = readKeptInstances(*text);
  if (!instances) return Failure{file.string() + ": " + instances.error()};
  words.instances = std::move(instances).value();
  return words;
}

Result<HostSettings> resolveSettings(const SettingWords& commandLine, const SettingWords& file) {
  HostSettings settings;
  auto instances = chosenInstances(commandLine, file);
  if (!instances) return instances.failure();
  settings.instances = std::move(instances).value();
  Placement& placement = settings.placement;
  for (const Status& read :
       {readChoice(corners, chosen(commandLine.corner, file.corner), "--corner", placement.corner),
        readMargin(chosen(commandLine.margin, file.margin), placement.margin),
        readMonitor(chosen(commandLine.monitor, file.monitor), placement.monitor),
        readChoice(appearances, chosen(commandLine.appearance, file.appearance), "--appearance",
                   settings.appearance),
        readChoice(motions, chosen(commandLine.reduceMotion, file.reduceMotion), "--reduce-motion",
                   settings.reduceMotion)}) {
    if (!read) return read.failure();
  }
  return settings;
}

Status saveSettings(const std::filesystem::path& file, std::span<const KeptInstance> instances,
                    AppearanceChoice appearance) {
  std::string text;
  std::error_code missing;
  if (std::filesystem::exists(file, missing)) {
    auto content = readSmallRegularFile(file, maxSettingsFileBytes);
    if (!content) return Failure{file.string() + ": not a readable regular file of at most 64 KiB"};
    text = std::move(*content);
  }
  const DesktopKey keys[] = {{"appearance", std::string(appearanceName(appearance))}};
  auto written = withKeptInstances(text, instances, keys);
  if (!written) return Failure{file.string() + ": " + written.error()};
  std::error_code ignored;
  std::filesystem::create_directories(file.parent_path(), ignored);
  const auto* bytes = reinterpret_cast<const unsigned char*>(written->data());
  return writeFileReplacing(file, {bytes, written->size()});
}

std::string_view appearanceName(AppearanceChoice appearance) {
  for (const auto& entry : appearances) {
    if (entry.value == appearance) return entry.name;
  }
  return appearances.front().name;
}

}  // namespace kelpo::desktop
