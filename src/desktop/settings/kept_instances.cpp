#include "desktop/settings/kept_instances.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>
#include <utility>

#include "desktop/settings/monitor_preference.h"

namespace kelpo::desktop {
namespace {

constexpr std::string_view instanceGroupPrefix = "instance ";
// Offsets beyond this would put the widget off any screen.
constexpr double largestOffset = 16384;
constexpr std::array placeKeys{"corner", "offset-x", "offset-y"};

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

[[nodiscard]] std::string groupName(int number) {
  return std::string(instanceGroupPrefix) + std::to_string(number);
}

[[nodiscard]] std::string badWord(const std::string& group, const char* key,
                                  const std::optional<std::string>& word, std::string_view cost) {
  const std::string said = word ? "\"" + *word + "\"" : std::string("missing");
  return "[" + group + "] " + key + ": " + said + ", " + std::string(cost);
}

// The place of a group that gives one: all of corner, offset-x and offset-y.
[[nodiscard]] std::optional<InstancePlace> readPlace(const KeyFileDocument& document,
                                                     const std::string& group,
                                                     std::vector<std::string>& ignored) {
  std::array<std::optional<std::string>, placeKeys.size()> words;
  for (std::size_t i = 0; i < placeKeys.size(); ++i) words[i] = document.value(group, placeKeys[i]);
  if (std::none_of(words.begin(), words.end(), [](const auto& word) { return word.has_value(); })) {
    return std::nullopt;
  }
  constexpr std::string_view cost = "the widget is stacked at the corner";
  const auto corner = cornerNamed(words[0].value_or(""));
  const auto x = pointsNamed(words[1].value_or(""), largestOffset);
  const auto y = pointsNamed(words[2].value_or(""), largestOffset);
  if (!corner) ignored.push_back(badWord(group, placeKeys[0], words[0], cost));
  if (!x) ignored.push_back(badWord(group, placeKeys[1], words[1], cost));
  if (!y) ignored.push_back(badWord(group, placeKeys[2], words[2], cost));
  if (!corner || !x || !y) return std::nullopt;
  return InstancePlace{*corner, *x, *y};
}

[[nodiscard]] std::optional<KeptInstance> readInstance(const KeyFileDocument& document,
                                                       const std::string& group, int number,
                                                       std::vector<std::string>& ignored) {
  const auto size = document.value(group, "size");
  const auto family = widgetFamilyNamed(size.value_or(""));
  if (!family) {
    ignored.push_back(badWord(group, "size", size, "this widget is not shown"));
    return std::nullopt;
  }
  KeptInstance instance{*family, document.value(group, "monitor"), std::nullopt, number};
  if (instance.monitor && !isMonitorWord(*instance.monitor)) {
    ignored.push_back(badWord(group, "monitor", instance.monitor, "the primary monitor is used"));
    instance.monitor.reset();
  }
  instance.place = readPlace(document, group, ignored);
  return instance;
}

[[nodiscard]] std::string formatted(double points) {
  std::array<char, 32> buffer{};
  const auto [end, failure] =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::round(points * 100) / 100);
  return failure == std::errc() ? std::string(buffer.data(), end) : "0";
}

void writeInstance(KeyFileDocument& document, const KeptInstance& instance) {
  const std::string group = groupName(instance.group);
  document.set(group, "size", widgetSize(instance.family).name);
  if (instance.monitor) {
    document.set(group, "monitor", *instance.monitor);
  } else {
    document.remove(group, "monitor");
  }
  if (!instance.place) {
    for (const char* key : placeKeys) document.remove(group, key);
    return;
  }
  document.set(group, "corner", cornerName(instance.place->corner));
  document.set(group, "offset-x", formatted(instance.place->horizontalOffset));
  document.set(group, "offset-y", formatted(instance.place->verticalOffset));
}

// The instance groups of `document`, by number.
[[nodiscard]] std::vector<std::pair<int, std::string>> instanceGroups(
    const KeyFileDocument& document) {
  std::vector<std::pair<int, std::string>> groups;
  for (std::string& name : document.groups()) {
    if (const auto number = instanceNumber(name)) groups.emplace_back(*number, std::move(name));
  }
  std::sort(groups.begin(), groups.end());
  return groups;
}

// The smallest group number neither in `document` nor `used`, for a file
// whose numbers reach the largest int.
[[nodiscard]] int unused(const KeyFileDocument& document, const std::vector<int>& used) {
  const auto groups = instanceGroups(document);
  int number = 1;
  while (std::find(used.begin(), used.end(), number) != used.end() ||
         std::any_of(groups.begin(), groups.end(),
                     [number](const auto& group) { return group.first == number; })) {
    ++number;
  }
  return number;
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

ReadInstances readKeptInstances(const KeyFileDocument& document) {
  ReadInstances read;
  for (const auto& [number, group] : instanceGroups(document)) {
    if (auto instance = readInstance(document, group, number, read.ignored)) {
      read.instances.push_back(std::move(*instance));
    }
  }
  return read;
}

ReadInstances readKeptInstances(std::string_view text) {
  return readKeptInstances(KeyFileDocument::parse(text));
}

std::vector<KeptInstance> keepInstances(KeyFileDocument& document,
                                        std::span<const KeptInstance> instances,
                                        std::span<const DesktopKey> keys) {
  for (const DesktopKey& key : keys) document.set("desktop", key.key, key.value);
  const auto held = [&instances](int number) {
    return std::any_of(instances.begin(), instances.end(),
                       [number](const KeptInstance& instance) { return instance.group == number; });
  };
  int largest = 0;
  std::vector<std::string> ignored;
  for (const auto& [number, group] : instanceGroups(document)) {
    largest = std::max(largest, number);
    if (!held(number) && readInstance(document, group, number, ignored)) {
      document.removeGroup(group);
    }
  }
  std::vector<KeptInstance> kept(instances.begin(), instances.end());
  for (const KeptInstance& instance : kept) largest = std::max(largest, instance.group);
  std::vector<int> used;
  for (KeptInstance& instance : kept) {
    if (instance.group < 1 || std::find(used.begin(), used.end(), instance.group) != used.end()) {
      instance.group =
          largest < std::numeric_limits<int>::max() ? ++largest : unused(document, used);
    }
    used.push_back(instance.group);
    writeInstance(document, instance);
  }
  return kept;
}

}  // namespace kelpo::desktop
