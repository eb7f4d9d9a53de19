#include <simdjson.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "base/text/quoted_text.h"
#include "snapshot/snapshot_json.h"

namespace kelpo {
namespace {

using simdjson::dom::element;
using simdjson::dom::element_type;
using simdjson::dom::object;

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
// Quoted values in messages are cut to this many bytes.
constexpr std::size_t quotedValueLimit = 64;

// One step of the way from the document to a value, kept on the stack while
// decoding and spelled out only when a decode fails.
struct PathStep {
  const PathStep* parent = nullptr;
  std::string_view key;  // empty for an array index
  std::size_t index = 0;

  [[nodiscard]] PathStep child(std::string_view name) const { return {this, name, 0}; }
  [[nodiscard]] PathStep item(std::size_t position) const { return {this, {}, position}; }

  // The root step (no parent) stands for the document and spells nothing.
  void appendTo(std::string& out) const {
    if (parent == nullptr) return;
    parent->appendTo(out);
    if (key.empty()) {
      out += '[';
      out += std::to_string(index);
      out += ']';
      return;
    }
    if (!out.empty()) out += '.';
    out += key;
  }
};

[[nodiscard]] std::string spell(const PathStep& step) {
  std::string out;
  step.appendTo(out);
  return out;
}

[[nodiscard]] std::string formatDouble(double value) {
  char buffer[32];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  if (error != std::errc()) return "a number";
  return std::string(buffer, end);
}

// The value as a quoted, escaped string, so that a message about a hostile
// document cannot reach the terminal as control characters. Cuts at a UTF-8
// character boundary so a message never holds half a character.
[[nodiscard]] std::string quoted(std::string_view text) {
  if (text.size() <= quotedValueLimit) return quotedText(text);
  std::size_t cut = quotedValueLimit;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  std::string out = quotedText(text.substr(0, cut));
  out.insert(out.size() - 1, "…");
  return out;
}

// What a value is, for "expected X, found Y" messages.
[[nodiscard]] std::string describeFound(const element& value) {
  switch (value.type()) {
    case element_type::ARRAY:
      return "an array";
    case element_type::OBJECT:
      return "an object";
    case element_type::INT64:
      return std::to_string(value.get_int64().value_unsafe());
    case element_type::UINT64:
      return std::to_string(value.get_uint64().value_unsafe());
    case element_type::DOUBLE:
      return formatDouble(value.get_double().value_unsafe());
    case element_type::STRING:
      return "a string";
    case element_type::BOOL:
      return value.get_bool().value_unsafe() ? "true" : "false";
    case element_type::NULL_VALUE:
      return "null";
#ifdef KELPO_SIMDJSON_HAS_BIGINT
    case element_type::BIGINT:
      return "an integer too large for 64 bits";
#endif
  }
  return "an unknown value";
}

// A whole double converts exactly when it lies in [-2^63, 2^63): both bounds
// are powers of two, hence exact doubles.
[[nodiscard]] std::optional<std::int64_t> wholeDoubleAsInteger(double value) {
  constexpr double lowest = -9223372036854775808.0;
  constexpr double pastHighest = 9223372036854775808.0;
  if (value < lowest || value >= pastHighest) return std::nullopt;
  return static_cast<std::int64_t>(value);
}

// The members of one object that the decoder knows, gathered in one pass over
// the object: the first occurrence of each key counts, other keys are passed
// over. A writer lists the keys in declared order, so the key at position i is
// tried against the i-th name first and a full search is rarely needed.
class Fields {
 public:
  static constexpr std::size_t capacity = 16;

  Fields(const object& members, std::span<const std::string_view> names) : names_(names) {
    std::size_t position = 0;
    for (const auto member : members) {
      const std::size_t slot = slotOf(member.key, position++);
      if (slot < names_.size() && !found_[slot]) {
        values_[slot] = member.value;
        found_[slot] = true;
      }
    }
  }

  [[nodiscard]] std::string_view name(std::size_t slot) const { return names_[slot]; }
  [[nodiscard]] bool find(std::size_t slot, element& value) const {
    if (!found_[slot]) return false;
    value = values_[slot];
    return true;
  }

 private:
  [[nodiscard]] std::size_t slotOf(std::string_view key, std::size_t position) const {
    if (position < names_.size() && names_[position] == key) return position;
    for (std::size_t slot = 0; slot < names_.size(); ++slot) {
      if (names_[slot] == key) return slot;
    }
    return names_.size();
  }

  std::span<const std::string_view> names_;
  std::array<element, capacity> values_{};
  std::array<bool, capacity> found_{};
};

// The keys of a snapshot and of an item, in declared order; the enumerations
// index them.
enum SnapshotKey : std::size_t {
  toSortKey,
  toSortCountKey,
  programKey,
  programCountKey,
  weekDoneKey,
  weekPlannedKey,
  weekBudgetKey,
  weekDoneCountKey,
  weekLabelKey,
  weekLeftLabelKey,
  weekBudgetLabelKey,
  nextSearchKey,
  searchingKey,
  accentKey,
};
constexpr std::array<std::string_view, 14> snapshotKeys = {
    "toSort",          "toSortCount", "program",       "programCount", "weekDone",
    "weekPlanned",     "weekBudget",  "weekDoneCount", "weekLabel",    "weekLeftLabel",
    "weekBudgetLabel", "nextSearch",  "searching",     "accent"};

enum ItemKey : std::size_t { idKey, titleKey, scoreKey, galleryKey, detailKey, unreadKey };
constexpr std::array<std::string_view, 6> itemKeys = {"id",      "title",  "score",
                                                      "gallery", "detail", "unread"};

// Reads the document field by field, in the declared order; the first broken
// rule is kept in `error_` and every read after it returns false at once.
class SnapshotDecoder {
 public:
  [[nodiscard]] std::optional<DecodeError> takeError() { return std::move(error_); }

  [[nodiscard]] bool readSnapshot(const element& root, WidgetSnapshot& out) {
    const PathStep top;
    object members;
    if (root.get_object().get(members) != simdjson::SUCCESS) {
      return fail(top, DecodeErrorKind::notAnObject, "top-level value is not an object");
    }
    const Fields fields(members, snapshotKeys);
    return readItems(fields, top, toSortKey, out.toSort) &&
           readInteger(fields, top, toSortCountKey, out.toSortCount) &&
           readItems(fields, top, programKey, out.program) &&
           readInteger(fields, top, programCountKey, out.programCount) &&
           readInteger(fields, top, weekDoneKey, out.weekDone) &&
           readInteger(fields, top, weekPlannedKey, out.weekPlanned) &&
           readInteger(fields, top, weekBudgetKey, out.weekBudget) &&
           readOptionalInteger(fields, top, weekDoneCountKey, out.weekDoneCount) &&
           readText(fields, top, weekLabelKey, out.weekLabel) &&
           readOptionalText(fields, top, weekLeftLabelKey, out.weekLeftLabel) &&
           readOptionalText(fields, top, weekBudgetLabelKey, out.weekBudgetLabel) &&
           readDate(fields, top, nextSearchKey, out.nextSearch) &&
           readBoolean(fields, top, searchingKey, out.searching) &&
           readText(fields, top, accentKey, out.accent);
  }

 private:
  bool fail(const PathStep& at, DecodeErrorKind kind, std::string message) {
    error_ = DecodeError{spell(at), std::move(message), kind};
    return false;
  }

  bool failType(const PathStep& at, std::string_view expected, const element& found) {
    return fail(at, DecodeErrorKind::wrongType,
                "expected " + std::string(expected) + ", found " + describeFound(found));
  }

  // A required key: absent fails here; null fails in the type check that follows.
  [[nodiscard]] bool required(const Fields& fields, std::size_t slot, const PathStep& at,
                              element& value) {
    if (!fields.find(slot, value)) {
      return fail(at, DecodeErrorKind::missingKey, "missing required key");
    }
    return true;
  }

  // An optional key: absent or null both leave the field absent.
  [[nodiscard]] static bool present(const Fields& fields, std::size_t slot, element& value) {
    return fields.find(slot, value) && !value.is_null();
  }

  bool integerValue(const element& value, const PathStep& at, std::int64_t& out) {
    switch (value.type()) {
      case element_type::INT64:
        out = value.get_int64().value_unsafe();
        return true;
      case element_type::UINT64:
#ifdef KELPO_SIMDJSON_HAS_BIGINT
      case element_type::BIGINT:
#endif
        return fail(at, DecodeErrorKind::integerOutOfRange,
                    "integer out of range, found " + describeFound(value));
      case element_type::DOUBLE: {
        const double number = value.get_double().value_unsafe();
        if (std::trunc(number) != number) return failType(at, "an integer", value);
        const auto whole = wholeDoubleAsInteger(number);
        if (!whole) {
          return fail(at, DecodeErrorKind::integerOutOfRange,
                      "integer out of range, found " + describeFound(value));
        }
        out = *whole;
        return true;
      }
      default:
        return failType(at, "an integer", value);
    }
  }

  bool textValue(const element& value, const PathStep& at, std::string_view& out) {
    if (value.get_string().get(out) != simdjson::SUCCESS) return failType(at, "a string", value);
    return true;
  }

  bool readInteger(const Fields& fields, const PathStep& parent, std::size_t slot,
                   std::int64_t& out) {
    const PathStep at = parent.child(fields.name(slot));
    element value;
    return required(fields, slot, at, value) && integerValue(value, at, out);
  }

  bool readOptionalInteger(const Fields& fields, const PathStep& parent, std::size_t slot,
                           std::optional<std::int64_t>& out) {
    element value;
    if (!present(fields, slot, value)) return true;
    std::int64_t number = 0;
    if (!integerValue(value, parent.child(fields.name(slot)), number)) return false;
    out = number;
    return true;
  }

  bool readText(const Fields& fields, const PathStep& parent, std::size_t slot, std::string& out) {
    const PathStep at = parent.child(fields.name(slot));
    element value;
    std::string_view text;
    if (!required(fields, slot, at, value) || !textValue(value, at, text)) return false;
    out.assign(text);
    return true;
  }

  bool readOptionalText(const Fields& fields, const PathStep& parent, std::size_t slot,
                        std::optional<std::string>& out) {
    element value;
    if (!present(fields, slot, value)) return true;
    std::string_view text;
    if (!textValue(value, parent.child(fields.name(slot)), text)) return false;
    out.emplace(text);
    return true;
  }

  bool readBoolean(const Fields& fields, const PathStep& parent, std::size_t slot, bool& out) {
    const PathStep at = parent.child(fields.name(slot));
    element value;
    if (!required(fields, slot, at, value)) return false;
    if (value.get_bool().get(out) != simdjson::SUCCESS) return failType(at, "true or false", value);
    return true;
  }

  // A required string read by `parse` (which answers an optional value);
  // text it does not accept fails with `kind` and "`rule` \"text\"".
  template <typename Value, typename Parse>
  bool readParsedText(const Fields& fields, const PathStep& parent, std::size_t slot, Parse parse,
                      DecodeErrorKind kind, const char* rule, Value& out) {
    const PathStep at = parent.child(fields.name(slot));
    element value;
    std::string_view text;
    if (!required(fields, slot, at, value) || !textValue(value, at, text)) return false;
    const auto parsed = parse(text);
    if (!parsed) return fail(at, kind, std::string(rule) + " " + quoted(text));
    out = *parsed;
    return true;
  }

  bool readDate(const Fields& fields, const PathStep& parent, std::size_t slot, Instant& out) {
    return readParsedText(fields, parent, slot, parseInstant, DecodeErrorKind::malformedDate,
                          "not a date-time:", out);
  }

  bool readUuid(const Fields& fields, const PathStep& parent, std::size_t slot, Uuid& out) {
    return readParsedText(fields, parent, slot, Uuid::parse, DecodeErrorKind::malformedUuid,
                          "not a UUID:", out);
  }

  bool readGallery(const Fields& fields, const PathStep& parent, std::size_t slot, Gallery& out) {
    return readParsedText(fields, parent, slot, galleryFromRawValue,
                          DecodeErrorKind::unknownGallery, "unknown value", out);
  }

  bool readItem(const element& value, const PathStep& at, WidgetSnapshot::Item& out) {
    object members;
    if (value.get_object().get(members) != simdjson::SUCCESS) {
      return failType(at, "an object", value);
    }
    const Fields fields(members, itemKeys);
    return readUuid(fields, at, idKey, out.id) && readText(fields, at, titleKey, out.title) &&
           readInteger(fields, at, scoreKey, out.score) &&
           readGallery(fields, at, galleryKey, out.gallery) &&
           readText(fields, at, detailKey, out.detail) &&
           readBoolean(fields, at, unreadKey, out.unread);
  }

  bool readItems(const Fields& fields, const PathStep& parent, std::size_t slot,
                 std::vector<WidgetSnapshot::Item>& out) {
    const PathStep at = parent.child(fields.name(slot));
    element value;
    simdjson::dom::array items;
    if (!required(fields, slot, at, value)) return false;
    if (value.get_array().get(items) != simdjson::SUCCESS) {
      return failType(at, "an array", value);
    }
    out.reserve(items.size());
    std::size_t position = 0;
    for (const element item : items) {
      if (!readItem(item, at.item(position), out.emplace_back())) return false;
      ++position;
    }
    return true;
  }

  std::optional<DecodeError> error_;
};

}  // namespace

std::string DecodeError::describe() const {
  if (path.empty()) return message;
  return path + ": " + message;
}

DecodeResult decodeSnapshot(std::string_view json) {
  if (json.starts_with(byteOrderMark)) json.remove_prefix(byteOrderMark.size());
  // One mark is skipped, never two: newer simdjson versions skip a mark of
  // their own, which would let a second one through.
  if (json.starts_with(byteOrderMark)) {
    return DecodeResult(DecodeError{"", "malformed JSON: a second byte-order mark",
                                    DecodeErrorKind::malformedJson});
  }

  // A parser per call: decodes may run on several threads at once.
  simdjson::dom::parser parser;
  element root;
  if (const auto error = parser.parse(json.data(), json.size()).get(root);
      error != simdjson::SUCCESS) {
    return DecodeResult(
        DecodeError{"", "malformed JSON: " + std::string(simdjson::error_message(error)),
                    DecodeErrorKind::malformedJson});
  }
  WidgetSnapshot snapshot;
  SnapshotDecoder decoder;
  if (!decoder.readSnapshot(root, snapshot)) return DecodeResult(*decoder.takeError());
  return DecodeResult(std::move(snapshot));
}

}  // namespace kelpo
