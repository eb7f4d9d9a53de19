#include "desktop/settings/kept_instances.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <system_error>
#include <utility>

#include "base/glib/glib_handles.h"

namespace kelpo::desktop {
namespace {

constexpr std::string_view instanceGroupPrefix = "instance ";
// Offsets beyond this would put the widget off any screen.
constexpr double largestOffset = 16384;

[[nodiscard]] Result<KeyFileHandle> parsed(std::string_view text) {
  KeyFileHandle keys(g_key_file_new());
  GError* failure = nullptr;
  const auto flags =
      static_cast<GKeyFileFlags>(G_KEY_FILE_KEEP_COMMENTS | G_KEY_FILE_KEEP_TRANSLATIONS);
  if (!text.empty() &&
      !g_key_file_load_from_data(keys.get(), text.data(), text.size(), flags, &failure)) {
    const ErrorHandle owned(failure);
    return Failure{messageOf(failure)};
  }
  return keys;
}

// The number of an "instance N" group, if the group is one.
[[nodiscard]] std::optional<int> instanceNumber(std::string_view group) {
  if (!group.starts_with(instanceGroupPrefix)) return std::nullopt;
  const std::string_view digits = group.substr(instanceGroupPrefix.size());
  int number = 0;
  const auto [rest, failure] =
      std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (failure != std::errc() || rest != digits.data() + digits.size() || number < 1) {
    return std::nullopt;
  }
  return number;
}

[[nodiscard]] std::optional<std::string> value(GKeyFile* keys, const char* group, const char* key) {
  const CharsHandle text(g_key_file_get_string(keys, group, key, nullptr));
  if (!text) return std::nullopt;
  return std::string(text.get());
}

[[nodiscard]] Failure badWord(const char* group, const char* key, const std::string& word,
                              std::string_view expected) {
  return Failure{"[" + std::string(group) + "] " + key + ": \"" + word + "\" is not " +
                 std::string(expected)};
}

// The place of a group that gives one: all of corner, offset-x and offset-y.
[[nodiscard]] Result<std::optional<InstancePlace>> readPlace(GKeyFile* keys, const char* group) {
  const auto corner = value(keys, group, "corner");
  const auto x = value(keys, group, "offset-x");
  const auto y = value(keys, group, "offset-y");
  if (!corner && !x && !y) return std::optional<InstancePlace>();
  InstancePlace place;
  const auto named = cornerNamed(corner.value_or(""));
  if (!named) return badWord(group, "corner", corner.value_or(""), "a corner");
  place.corner = *named;
  const auto horizontal = pointsNamed(x.value_or(""), largestOffset);
  if (!horizontal) return badWord(group, "offset-x", x.value_or(""), "a number of points");
  const auto vertical = pointsNamed(y.value_or(""), largestOffset);
  if (!vertical) return badWord(group, "offset-y", y.value_or(""), "a number of points");
  place.horizontalOffset = *horizontal;
  place.verticalOffset = *vertical;
  return std::optional<InstancePlace>(place);
}

[[nodiscard]] Result<KeptInstance> readInstance(GKeyFile* keys, const char* group) {
  KeptInstance instance;
  const auto size = value(keys, group, "size");
  const auto family = widgetFamilyNamed(size.value_or(""));
  if (!family) return badWord(group, "size", size.value_or(""), "a size of the widget");
  instance.family = *family;
  instance.monitor = value(keys, group, "monitor");
  auto place = readPlace(keys, group);
  if (!place) return place.failure();
  instance.place = *place;
  return instance;
}

[[nodiscard]] std::string formatted(double points) {
  std::array<char, 32> buffer{};
  const auto [end, failure] =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::round(points * 100) / 100);
  return failure == std::errc() ? std::string(buffer.data(), end) : "0";
}

void writeInstance(GKeyFile* keys, const std::string& group, const KeptInstance& instance) {
  const char* name = group.c_str();
  g_key_file_set_string(keys, name, "size", std::string(widgetSize(instance.family).name).c_str());
  if (instance.monitor) g_key_file_set_string(keys, name, "monitor", instance.monitor->c_str());
  if (!instance.place) return;
  g_key_file_set_string(keys, name, "corner",
                        std::string(cornerName(instance.place->corner)).c_str());
  g_key_file_set_string(keys, name, "offset-x",
                        formatted(instance.place->horizontalOffset).c_str());
  g_key_file_set_string(keys, name, "offset-y", formatted(instance.place->verticalOffset).c_str());
}

// The instance groups of `keys`, by number.
[[nodiscard]] std::vector<std::pair<int, std::string>> instanceGroups(GKeyFile* keys) {
  std::vector<std::pair<int, std::string>> groups;
  gchar** names = g_key_file_get_groups(keys, nullptr);
  for (gchar** name = names; name != nullptr && *name != nullptr; ++name) {
    if (const auto number = instanceNumber(*name)) groups.emplace_back(*number, *name);
  }
  g_strfreev(names);
  std::sort(groups.begin(), groups.end());
  return groups;
}

}  // namespace

std::optional<double> pointsNamed(std::string_view word, double largest) {
  double points = 0;
  const char* end = word.data() + word.size();
  const auto [rest, failure] = std::from_chars(word.data(), end, points);
  if (failure != std::errc() || rest != end || !std::isfinite(points) || points < 0 ||
      points > largest) {
    return std::nullopt;
  }
  return points;
}

Result<std::vector<KeptInstance>> readKeptInstances(std::string_view text) {
  auto keys = parsed(text);
  if (!keys) return keys.failure();
  std::vector<KeptInstance> instances;
  for (const auto& [number, group] : instanceGroups(keys->get())) {
    auto instance = readInstance(keys->get(), group.c_str());
    if (!instance) return instance.failure();
    instances.push_back(std::move(instance).value());
  }
  return instances;
}

Result<std::string> withKeptInstances(std::string_view text,
                                      std::span<const KeptInstance> instances,
                                      std::span<const DesktopKey> desktopKeys) {
  auto keys = parsed(text);
  if (!keys) return keys.failure();
  for (const DesktopKey& key : desktopKeys) {
    g_key_file_set_string(keys->get(), "desktop", key.key.c_str(), key.value.c_str());
  }
  for (const auto& [number, group] : instanceGroups(keys->get())) {
    g_key_file_remove_group(keys->get(), group.c_str(), nullptr);
  }
  for (std::size_t i = 0; i < instances.size(); ++i) {
    writeInstance(keys->get(), std::string(instanceGroupPrefix) + std::to_string(i + 1),
                  instances[i]);
  }
  gsize length = 0;
  const CharsHandle data(g_key_file_to_data(keys->get(), &length, nullptr));
  return std::string(data.get(), length);
}

}  // namespace kelpo::desktop
