#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

namespace kelpo {

// One argument of a localisable phrase: "%lld" takes an integer, "%@" a text.
using PhraseArgument = std::variant<std::int64_t, std::string>;

// A localisable phrase: keyed by its French text (with "%lld" / "%@" where
// arguments go), which is also what is shown when no translation exists.
struct LocalizedPhrase {
  std::string key;
  std::vector<PhraseArgument> arguments;
  friend bool operator==(const LocalizedPhrase&, const LocalizedPhrase&) = default;
};

// A table of translations keyed by the French phrase, read from a gettext
// .po file. An empty book translates nothing.
class PhraseBook {
 public:
  PhraseBook() = default;

  // Parses .po text (msgid / msgstr pairs, C escapes, multi-line strings).
  // Entries with an empty msgstr or marked fuzzy are left out.
  [[nodiscard]] static PhraseBook parse(std::string_view poText);
  // The table for an ICU locale id ("en_US" -> "en_US.po", then "en.po") in
  // `directory`; an empty book for French, a missing or unreadable file.
  [[nodiscard]] static PhraseBook forLocale(std::string_view locale,
                                            const std::filesystem::path& directory);

  // The translation of `key`, or `key` itself when there is none.
  [[nodiscard]] std::string_view lookup(std::string_view key) const;
  [[nodiscard]] std::size_t size() const { return entries_.size(); }

 private:
  std::unordered_map<std::string, std::string> entries_;
};

// Fills a phrase's format with its arguments: "%lld" takes the next integer,
// "%@" the next text, "%%" is a percent sign; any other "%" sequence and any
// directive without a matching argument is kept as written. Arguments are
// inserted as they are: never read as formats themselves.
[[nodiscard]] std::string formatPhrase(std::string_view format,
                                       std::span<const PhraseArgument> arguments);

// Looks the phrase up in `book` (may be null) and fills it.
[[nodiscard]] std::string localize(const LocalizedPhrase& phrase, const PhraseBook* book);

}  // namespace kelpo
