#include "base/locale/po_reader.h"

#include <cstddef>

namespace kelpo {
namespace {

// More plural forms than any language has; a larger index is a typo, and
// honouring it would mean growing the list to that size.
constexpr std::size_t maxPluralForms = 16;

[[nodiscard]] bool isBlank(char c) {
  return c == ' ' || c == '\t';
}
[[nodiscard]] bool isOctalDigit(char c) {
  return c >= '0' && c <= '7';
}

[[nodiscard]] int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

[[nodiscard]] std::string_view trimStart(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  return text;
}

[[nodiscard]] std::string_view trimEnd(std::string_view text) {
  while (!text.empty() && (isBlank(text.back()) || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

// The character a one-letter C escape stands for, or nothing for an unknown one.
[[nodiscard]] std::optional<char> simpleEscape(char letter) {
  switch (letter) {
    case 'n':
      return '\n';
    case 't':
      return '\t';
    case 'r':
      return '\r';
    case 'a':
      return '\a';
    case 'b':
      return '\b';
    case 'f':
      return '\f';
    case 'v':
      return '\v';
    case '\\':
      return '\\';
    case '"':
      return '"';
    case '\'':
      return '\'';
    case '?':
      return '?';
    default:
      return std::nullopt;
  }
}

// Reads one quoted C string that makes up the whole of `text` (blanks around
// it allowed) and returns its value, or nothing when it is not one.
[[nodiscard]] std::optional<std::string> readQuoted(std::string_view text) {
  text = trimEnd(trimStart(text));
  if (text.size() < 2 || text.front() != '"') return std::nullopt;
  std::string value;
  std::size_t i = 1;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '"') return i + 1 == text.size() ? std::optional(value) : std::nullopt;
    if (c != '\\') {
      value += c;
      ++i;
      continue;
    }
    if (++i == text.size()) return std::nullopt;
    const char letter = text[i];
    if (const auto plain = simpleEscape(letter)) {
      value += *plain;
      ++i;
    } else if (isOctalDigit(letter)) {
      int code = 0;
      for (int digits = 0; digits < 3 && i < text.size() && isOctalDigit(text[i]); ++digits, ++i)
        code = code * 8 + (text[i] - '0');
      value += static_cast<char>(code & 0xFF);
    } else if (letter == 'x' && i + 1 < text.size() && hexValue(text[i + 1]) >= 0) {
      int code = 0;
      ++i;
      for (int digits = 0; digits < 2 && i < text.size() && hexValue(text[i]) >= 0; ++digits, ++i)
        code = code * 16 + hexValue(text[i]);
      value += static_cast<char>(code);
    } else {
      return std::nullopt;
    }
  }
  return std::nullopt;  // no closing quote on this line
}

// "fuzzy" among the comma-separated flags of a "#," comment.
[[nodiscard]] bool flagsSayFuzzy(std::string_view flags) {
  while (!flags.empty()) {
    const auto comma = flags.find(',');
    const auto flag = trimEnd(trimStart(flags.substr(0, comma)));
    if (flag == "fuzzy") return true;
    if (comma == std::string_view::npos) break;
    flags.remove_prefix(comma + 1);
  }
  return false;
}

// Reads entries line by line. The entry being read collects its fields until
// a blank line, a comment after its strings, or the next msgctxt/msgid ends it.
class PoParser {
 public:
  std::vector<PoEntry> run(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    while (!text.empty()) {
      const auto end = text.find('\n');
      readLine(trimEnd(trimStart(text.substr(0, end))));
      if (end == std::string_view::npos) break;
      text.remove_prefix(end + 1);
    }
    finishEntry();
    return std::move(entries_);
  }

 private:
  // Which string a continuation line ("...") adds to.
  enum class Field { none, context, id, pluralId, translation };

  void readLine(std::string_view line) {
    if (line.empty()) {
      if (started()) finishEntry();
    } else if (line.front() == '#') {
      readComment(line);
    } else if (line.front() == '"') {
      readContinuation(line);
    } else {
      readKeywordLine(line);
    }
  }

  void readComment(std::string_view line) {
    // Comments come before the entry they describe, so one after an entry's
    // strings starts the next entry.
    if (started()) finishEntry();
    if (line.starts_with("#,") && flagsSayFuzzy(line.substr(2))) entry_.fuzzy = true;
  }

  void readContinuation(std::string_view line) {
    const auto value = readQuoted(line);
    if (!value || field_ == Field::none) return markBroken();
    fieldText() += *value;
  }

  void readKeywordLine(std::string_view line) {
    std::size_t wordEnd = 0;
    while (wordEnd < line.size() && !isBlank(line[wordEnd]) && line[wordEnd] != '"') ++wordEnd;
    const auto keyword = line.substr(0, wordEnd);
    const auto value = readQuoted(line.substr(wordEnd));

    // msgctxt and msgid open a new entry even when their string is unreadable,
    // so the damage stays in the entry they open.
    if (keyword == "msgctxt") {
      if (started()) finishEntry();
      entry_.context = value.value_or("");
      field_ = Field::context;
    } else if (keyword == "msgid") {
      if (hasId_) finishEntry();
      entry_.id = value.value_or("");
      hasId_ = true;
      field_ = Field::id;
    } else if (keyword == "msgid_plural" && value && hasId_ && !entry_.pluralId &&
               entry_.translations.empty()) {
      entry_.pluralId = *value;
      field_ = Field::pluralId;
    } else if (const auto index = translationIndex(keyword); index && value && hasId_) {
      if (*index >= entry_.translations.size()) entry_.translations.resize(*index + 1);
      entry_.translations[*index] = *value;
      translation_ = *index;
      field_ = Field::translation;
    } else {
      field_ = Field::none;
      return markBroken();
    }
    if (!value) markBroken();
  }

  // 0 for "msgstr", N for "msgstr[N]"; nothing for any other word.
  [[nodiscard]] static std::optional<std::size_t> translationIndex(std::string_view keyword) {
    if (keyword == "msgstr") return 0;
    if (!keyword.starts_with("msgstr[") || !keyword.ends_with(']')) return std::nullopt;
    const auto digits = keyword.substr(7, keyword.size() - 8);
    if (digits.empty() || digits.size() > 2) return std::nullopt;
    std::size_t index = 0;
    for (const char c : digits) {
      if (c < '0' || c > '9') return std::nullopt;
      index = index * 10 + static_cast<std::size_t>(c - '0');
    }
    return index < maxPluralForms ? std::optional(index) : std::nullopt;
  }

  [[nodiscard]] std::string& fieldText() {
    switch (field_) {
      case Field::context:
        return *entry_.context;
      case Field::pluralId:
        return *entry_.pluralId;
      case Field::translation:
        return entry_.translations[translation_];
      case Field::id:
      case Field::none:
        break;
    }
    return entry_.id;
  }

  // An unreadable line spoils the entry it belongs to; outside any entry it
  // is simply passed over.
  void markBroken() {
    if (started()) broken_ = true;
  }

  [[nodiscard]] bool started() const { return hasId_ || entry_.context.has_value(); }

  void finishEntry() {
    if (hasId_ && !broken_ && !entry_.translations.empty()) entries_.push_back(std::move(entry_));
    entry_ = PoEntry{};
    hasId_ = false;
    broken_ = false;
    field_ = Field::none;
    translation_ = 0;
  }

  std::vector<PoEntry> entries_;
  PoEntry entry_;
  bool hasId_ = false;
  bool broken_ = false;
  Field field_ = Field::none;
  std::size_t translation_ = 0;
};

}  // namespace

std::vector<PoEntry> readPoEntries(std::string_view poText) {
  return PoParser{}.run(poText);
}

}  // namespace kelpo
