#include "base/locale/phrases.h"

#include <fstream>
#include <iterator>

#include "base/locale/po_reader.h"

namespace kelpo {
namespace {

// Phrase tables are a few kilobytes; anything far larger is not one, and is
// not worth holding in memory.
constexpr std::uintmax_t maxTableBytes = 1 << 20;

// gettext's separator between a message context and its id. An entry with a
// context is stored under "context\x04id", so it never answers a lookup of the
// plain id: the widget asks for phrases without a context.
constexpr char contextSeparator = '\x04';

[[nodiscard]] std::optional<std::string> readSmallFile(const std::filesystem::path& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (error || size > maxTableBytes) return std::nullopt;
  std::ifstream stream(path, std::ios::binary);
  if (!stream) return std::nullopt;
  std::string text{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
  if (stream.bad()) return std::nullopt;
  return text;
}

[[nodiscard]] bool isLocaleNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// "en-US", "en_US.UTF-8", "en_US@calendar=gregorian" -> "en_US"; nothing when
// what is left could name something other than a file in the directory.
[[nodiscard]] std::optional<std::string> normalizedLocale(std::string_view locale) {
  locale = locale.substr(0, locale.find_first_of(".@"));
  std::string name(locale);
  for (char& c : name) {
    if (c == '-') c = '_';
    if (!isLocaleNameChar(c)) return std::nullopt;
  }
  return name;
}

// The tables to try for a locale, most specific first: "zh_Hant_TW" gives
// "zh_Hant_TW", "zh_Hant", "zh".
[[nodiscard]] std::vector<std::string> tableNames(std::string name) {
  std::vector<std::string> names;
  while (!name.empty()) {
    if (name.back() != '_') names.push_back(name);
    const auto cut = name.rfind('_');
    name.resize(cut == std::string::npos ? 0 : cut);
  }
  return names;
}

struct Directive {
  enum class Kind { integer, text, percent };
  Kind kind;
  std::optional<std::size_t> position;  // zero-based, for "%2$@" forms
  std::size_t length;                   // characters of the format it spans
};

// The directive that starts at format[0] == '%', or nothing when the text
// there is not one this system understands.
[[nodiscard]] std::optional<Directive> readDirective(std::string_view format) {
  if (format.starts_with("%%")) return Directive{Directive::Kind::percent, std::nullopt, 2};
  std::size_t at = 1;
  std::optional<std::size_t> position;
  std::size_t number = 0;
  while (at < format.size() && at <= 4 && format[at] >= '0' && format[at] <= '9')
    number = number * 10 + static_cast<std::size_t>(format[at++] - '0');
  if (at > 1) {
    if (at >= format.size() || format[at] != '$' || number == 0) return std::nullopt;
    position = number - 1;
    ++at;
  }
  const auto rest = format.substr(at);
  if (rest.starts_with("lld")) return Directive{Directive::Kind::integer, position, at + 3};
  if (rest.starts_with("@")) return Directive{Directive::Kind::text, position, at + 1};
  return std::nullopt;
}

// The text an argument puts in place of a directive, or nothing when the
// argument is missing or of the other kind.
[[nodiscard]] std::optional<std::string> argumentText(Directive::Kind kind, std::size_t index,
                                                      std::span<const PhraseArgument> arguments) {
  if (index >= arguments.size()) return std::nullopt;
  const auto& argument = arguments[index];
  if (kind == Directive::Kind::integer) {
    if (const auto* value = std::get_if<std::int64_t>(&argument)) return std::to_string(*value);
  } else if (const auto* value = std::get_if<std::string>(&argument)) {
    return *value;
  }
  return std::nullopt;
}

}  // namespace

PhraseBook PhraseBook::parse(std::string_view poText) {
  PhraseBook book;
  for (auto& entry : readPoEntries(poText)) {
    if (entry.fuzzy || entry.id.empty()) continue;   // unchecked, or the header
    auto& translation = entry.translations.front();  // the singular form
    if (translation.empty()) continue;
    auto key = entry.context ? *entry.context + contextSeparator + entry.id : std::move(entry.id);
    // The first translation of a phrase wins, as it would in a compiled table.
    book.entries_.try_emplace(std::move(key), std::move(translation));
  }
  return book;
}

PhraseBook PhraseBook::forLocale(std::string_view locale, const std::filesystem::path& directory) {
  const auto name = normalizedLocale(locale);
  if (!name || name->empty() || *name == "fr" || name->starts_with("fr_")) return {};
  for (const auto& candidate : tableNames(*name)) {
    if (const auto text = readSmallFile(directory / (candidate + ".po"))) return parse(*text);
  }
  return {};
}

std::string_view PhraseBook::lookup(std::string_view key) const {
  // Heterogeneous lookup needs a transparent hash; the tables are tiny and the
  // lookups few, so building the key string is cheaper than the plumbing.
  const auto found = entries_.find(std::string(key));
  return found == entries_.end() ? key : std::string_view(found->second);
}

std::string formatPhrase(std::string_view format, std::span<const PhraseArgument> arguments) {
  std::string result;
  result.reserve(format.size());
  std::size_t nextArgument = 0;
  while (!format.empty()) {
    const auto percent = format.find('%');
    result += format.substr(0, percent);
    if (percent == std::string_view::npos) break;
    format.remove_prefix(percent);

    const auto directive = readDirective(format);
    if (!directive) {
      result += '%';
      format.remove_prefix(1);
      continue;
    }
    const auto written = format.substr(0, directive->length);
    format.remove_prefix(directive->length);
    if (directive->kind == Directive::Kind::percent) {
      result += '%';
      continue;
    }
    // A sequential directive takes its argument slot whether or not the
    // argument fits, so the ones after it still line up with theirs.
    const auto index = directive->position.value_or(nextArgument);
    if (!directive->position) ++nextArgument;
    const auto text = argumentText(directive->kind, index, arguments);
    result += text ? std::string_view(*text) : written;
  }
  return result;
}

std::string localize(const LocalizedPhrase& phrase, const PhraseBook* book) {
  return formatPhrase(book ? book->lookup(phrase.key) : std::string_view(phrase.key),
                      phrase.arguments);
}

}  // namespace kelpo
