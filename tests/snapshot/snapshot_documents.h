#pragma once

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace kelpo::testing {

// A JSON object spelled out key by key, so a test can swap, drop or repeat
// one member of an otherwise valid document. Values are raw JSON text.
struct Member {
  std::string key;
  std::string json;
};
using Members = std::vector<Member>;

[[nodiscard]] inline std::string objectJson(const Members& members) {
  std::string out = "{";
  for (const auto& member : members) {
    if (out.size() > 1) out += ',';
    out += '"' + member.key + "\":" + member.json;
  }
  return out + "}";
}

// Replaces the first member named `key`, or appends one.
[[nodiscard]] inline Members with(Members members, const std::string& key, std::string json) {
  const auto found = std::find_if(members.begin(), members.end(),
                                  [&](const Member& member) { return member.key == key; });
  if (found == members.end()) {
    members.push_back({key, std::move(json)});
  } else {
    found->json = std::move(json);
  }
  return members;
}

[[nodiscard]] inline Members without(Members members, const std::string& key) {
  std::erase_if(members, [&](const Member& member) { return member.key == key; });
  return members;
}

[[nodiscard]] inline Members validItem() {
  return {{"id", "\"3F2504E0-4F89-41D3-9A0C-0305E82C3301\""},
          {"title", "\"Rendu des nuages\""},
          {"score", "9"},
          {"gallery", "\"stack\""},
          {"detail", "\"Pixelbarn · 30 min\""},
          {"unread", "true"}};
}

// Only the eleven required keys; one item in each list.
[[nodiscard]] inline Members validSnapshot(const std::string& itemJson = objectJson(validItem())) {
  return {{"toSort", "[" + itemJson + "]"},
          {"toSortCount", "1"},
          {"program", "[" + itemJson + "]"},
          {"programCount", "1"},
          {"weekDone", "135"},
          {"weekPlanned", "45"},
          {"weekBudget", "300"},
          {"weekLabel", "\"2 h 15 / 5 h\""},
          {"nextSearch", "\"2025-03-10T08:00:00Z\""},
          {"searching", "false"},
          {"accent", "\"Lagune\""}};
}

[[nodiscard]] inline std::string validSnapshotJson() {
  return objectJson(validSnapshot());
}

}  // namespace kelpo::testing
