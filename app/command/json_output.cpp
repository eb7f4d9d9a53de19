#include "command/json_output.h"

#include <string_view>

#include "snapshot/internet_date_time.h"
#include "snapshot/snapshot_json.h"

namespace kelpo::app {
namespace {

// `json` (pretty, as encodeSnapshot writes it) nested `indent` deep: every
// line but the first moved right, the trailing new line dropped.
[[nodiscard]] std::string nested(std::string_view json, std::string_view indent) {
  while (!json.empty() && json.back() == '\n') json.remove_suffix(1);
  std::string out;
  out.reserve(json.size() + json.size() / 8);
  for (const char c : json) {
    out += c;
    if (c == '\n') out += indent;
  }
  return out;
}

// Dates are written by formatInstant: digits, '-', ':', 'T', '.' and 'Z',
// nothing that needs escaping.
[[nodiscard]] std::string quoted(Instant instant) {
  return '"' + formatInstant(instant) + '"';
}

}  // namespace

std::string entriesJson(const std::vector<Entry>& entries, std::optional<Instant> reloadDate) {
  std::string out = "{\n  \"entries\": [";
  for (std::size_t i = 0; i < entries.size(); ++i) {
    out += i == 0 ? "\n" : ",\n";
    out += "    {\n      \"date\": " + quoted(entries[i].date) + ",\n";
    out += "      \"snapshot\": " + nested(encodeSnapshot(entries[i].snapshot), "      ");
    out += "\n    }";
  }
  out += entries.empty() ? "]" : "\n  ]";
  if (reloadDate) out += ",\n  \"reloadDate\": " + quoted(*reloadDate);
  out += "\n}\n";
  return out;
}

}  // namespace kelpo::app
