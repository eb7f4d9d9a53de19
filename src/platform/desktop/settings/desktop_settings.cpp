#include "platform/desktop/settings/desktop_settings.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string_view>
#include <system_error>
#include <utility>

#include "platform/desktop/glib_handles.h"
#include "platform/files/bounded_file.h"
#include "platform/files/user_directories.h"

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
constexpr std::array corners{Named<Corner>{"top-left", Corner::topLeft},
                             Named<Corner>{"top-right", Corner::topRight},
                             Named<Corner>{"bottom-left", Corner::bottomLeft},
                             Named<Corner>{"bottom-right", Corner::bottomRight}};
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
[[nodiscard]] bool readChoice(const std::array<Named<Value>, N>& table,
                              const std::optional<std::string>& word, const char* option,
                              Value& out, std::string& error) {
  if (!word) return true;
  if (const auto value = valueNamed(table, *word)) {
    out = *value;
    return true;
  }
  error = std::string(option) + ": \"" + *word + "\" is not one of " + namesOf(table);
  return false;
}

[[nodiscard]] bool readMargin(const std::optional<std::string>& word, double& out,
                              std::string& error) {
  if (!word) return true;
  double margin = 0;
  const char* end = word->data() + word->size();
  const auto [rest, failure] = std::from_chars(word->data(), end, margin);
  if (failure != std::errc() || rest != end || !std::isfinite(margin) || margin < 0 ||
      margin > largestMargin) {
    error = "--margin: \"" + *word + "\" is not a number of points from 0 to 4096";
    return false;
  }
  out = margin;
  return true;
}

[[nodiscard]] bool readMonitor(const std::optional<std::string>& word, std::optional<int>& out,
                               std::string& error) {
  if (!word) return true;
  int monitor = 0;
  const char* end = word->data() + word->size();
  const auto [rest, failure] = std::from_chars(word->data(), end, monitor);
  if (failure != std::errc() || rest != end || monitor < 0 || monitor > largestMonitor) {
    error = "--monitor: \"" + *word + "\" is not a monitor number from 0 to 63";
    return false;
  }
  out = monitor;
  return true;
}

[[nodiscard]] std::optional<std::string> fileValue(GKeyFile* file, const char* key) {
  if (!g_key_file_has_key(file, settingsGroup, key, nullptr)) return std::nullopt;
  const CharsHandle value(g_key_file_get_string(file, settingsGroup, key, nullptr));
  if (!value) return std::nullopt;
  return std::string(value.get());
}

}  // namespace

std::filesystem::path defaultSettingsFile() {
  return userConfigDirectory().value_or(std::filesystem::path(".config")) / "app.kelpo.widget" /
         "desktop.ini";
}

std::optional<SettingWords> readSettingsFile(const std::filesystem::path& file,
                                             std::string& error) {
  std::error_code missing;
  if (!std::filesystem::exists(file, missing)) return SettingWords{};
  // Read as the snapshot is: a FIFO or a device in the file's place would
  // otherwise hold the start up for ever.
  const auto text = readSmallRegularFile(file, maxSettingsFileBytes);
  if (!text) {
    error = file.string() + ": not a readable regular file of at most 64 KiB";
    return std::nullopt;
  }
  const KeyFileHandle keys(g_key_file_new());
  GError* failure = nullptr;
  if (!g_key_file_load_from_data(keys.get(), text->data(), text->size(), G_KEY_FILE_NONE,
                                 &failure)) {
    const ErrorHandle owned(failure);
    error = file.string() + ": " + messageOf(failure);
    return std::nullopt;
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
  return words;
}

std::optional<HostSettings> resolveSettings(const SettingWords& commandLine,
                                            const SettingWords& file, std::string& error) {
  HostSettings settings;
  const auto& familyWords = commandLine.families.empty() ? file.families : commandLine.families;
  if (!familyWords.empty()) settings.families.clear();
  for (const std::string& word : familyWords) {
    const auto family = valueNamed(families, word);
    if (!family) {
      error = "--family: \"" + word + "\" is not one of " + namesOf(families);
      return std::nullopt;
    }
    settings.families.push_back(*family);
  }
  Placement& placement = settings.placement;
  if (!readChoice(corners, chosen(commandLine.corner, file.corner), "--corner", placement.corner,
                  error) ||
      !readMargin(chosen(commandLine.margin, file.margin), placement.margin, error) ||
      !readMonitor(chosen(commandLine.monitor, file.monitor), placement.monitor, error) ||
      !readChoice(appearances, chosen(commandLine.appearance, file.appearance), "--appearance",
                  settings.appearance, error) ||
      !readChoice(motions, chosen(commandLine.reduceMotion, file.reduceMotion), "--reduce-motion",
                  settings.reduceMotion, error)) {
    return std::nullopt;
  }
  return settings;
}

}  // namespace kelpo::desktop
