#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelpo {

// One entry of a gettext .po (or .pot) file, as written: strings unescaped and
// their continuation lines joined, nothing filtered out yet.
struct PoEntry {
  std::optional<std::string> context;     // msgctxt
  std::string id;                         // msgid; empty for the header entry
  std::optional<std::string> pluralId;    // msgid_plural
  std::vector<std::string> translations;  // msgstr, or msgstr[0], msgstr[1]...
  bool fuzzy = false;                     // flagged "#, fuzzy"
  friend bool operator==(const PoEntry&, const PoEntry&) = default;
};

// Reads the entries of .po text. Never fails: an entry with a line that cannot
// be read (an unknown keyword, an unterminated string, text outside quotes) is
// left out whole, and reading goes on with the next entry. Comments ("#",
// "#.", "#:", "#|", obsolete "#~") are skipped; only the "fuzzy" flag is kept.
// Lines may end in "\n" or "\r\n"; a leading UTF-8 byte-order mark is ignored.
[[nodiscard]] std::vector<PoEntry> readPoEntries(std::string_view poText);

}  // namespace kelpo
