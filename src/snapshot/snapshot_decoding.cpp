#include <simdjson.h>

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

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

// Cuts at a UTF-8 character boundary so a message never holds half a character.
[[nodiscard]] std::string quoted(std::string_view text) {
  std::string out = "\"";
  if (text.size() <= quotedValueLimit) {
    out += text;
  } else {
    std::size_t cut = quotedValueLimit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    out += text.substr(0, cut);
    out += "…";
  }
  out += '"';
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

// Reads the document field by field, in the declared order; the first broken
// rule is kept in `error_` and every read after it returns false at once.
class SnapshotDecoder {
 public:
  [[nodiscard]] std::optional<DecodeError> takeError() { return std::move(error_); }

  [[nodiscard]] bool readSnapshot(const element& root, WidgetSnapshot& out) {
    const PathStep top;
    object fields;
    if (root.get_object().get(fields) != simdjson::SUCCESS) {
      return fail(top, DecodeErrorKind::notAnObject, "top-level value is not an object");
    }
    return readItems(fields, top, "toSort", out.toSort) &&
           readInteger(fields, top, "toSortCount", out.toSortCount) &&
           readItems(fields, top, "program", out.program) &&
           readInteger(fields, top, "programCount", out.programCount) &&
           readInteger(fields, top, "weekDone", out.weekDone) &&
           readInteger(fields, top, "weekPlanned", out.weekPlanned) &&
           readInteger(fields, top, "weekBudget", out.weekBudget) &&
           readOptionalInteger(fields, top, "weekDoneCount", out.weekDoneCount) &&
           readText(fields, top, "weekLabel", out.weekLabel) &&
           readOptionalText(fields, top, "weekLeftLabel", out.weekLeftLabel) &&
           readOptionalText(fields, top, "weekBudgetLabel", out.weekBudgetLabel) &&
           readDate(fields, top, "nextSearch", out.nextSearch) &&
           readBoolean(fields, top, "searching", out.searching) &&
           readText(fields, top, "accent", out.accent);
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
  [[nodiscard]] bool required(const object& fields, const PathStep& at, element& value) {
    if (fields.at_key(at.key).get(value) != simdjson::SUCCESS) {
      return fail(at, DecodeErrorKind::missingKey, "missing required key");
    }
    return true;
  }

  // An optional key: absent or null both leave the field absent.
  [[nodiscard]] static bool present(const object& fields, std::string_view key, element& value) {
    return fields.at_key(key).get(value) == simdjson::SUCCESS && !value.is_null();
  }

  bool integerValue(const element& value, const PathStep& at, std::int64_t& out) {
    switch (value.type()) {
      case element_type::INT64:
        out = value.get_int64().value_unsafe();
        return true;
      case element_type::UINT64:
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

  bool readInteger(const object& fields, const PathStep& parent, std::string_view key,
                   std::int64_t& out) {
    const PathStep at = parent.child(key);
    element value;
    return required(fields, at, value) && integerValue(value, at, out);
  }

  bool readOptionalInteger(const object& fields, const PathStep& parent, std::string_view key,
                           std::optional<std::int64_t>& out) {
    element value;
    if (!present(fields, key, value)) return true;
    std::int64_t number = 0;
    if (!integerValue(value, parent.child(key), number)) return false;
    out = number;
    return true;
  }

  bool readText(const object& fields, const PathStep& parent, std::string_view key,
                std::string& out) {
    const PathStep at = parent.child(key);
    element value;
    std::string_view text;
    if (!required(fields, at, value) || !textValue(value, at, text)) return false;
    out.assign(text);
    return true;
  }

  bool readOptionalText(const object& fields, const PathStep& parent, std::string_view key,
                        std::optional<std::string>& out) {
    element value;
    if (!present(fields, key, value)) return true;
    std::string_view text;
    if (!textValue(value, parent.child(key), text)) return false;
    out.emplace(text);
    return true;
  }

  bool readBoolean(const object& fields, const PathStep& parent, std::string_view key, bool& out) {
    const PathStep at = parent.child(key);
    element value;
    if (!required(fields, at, value)) return false;
    if (value.get_bool().get(out) != simdjson::SUCCESS) return failType(at, "true or false", value);
    return true;
  }

  bool readDate(const object& fields, const PathStep& parent, std::string_view key, Instant& out) {
    const PathStep at = parent.child(key);
    element value;
    std::string_view text;
    if (!required(fields, at, value) || !textValue(value, at, text)) return false;
    const auto instant = parseInstant(text);
    if (!instant)
      return fail(at, DecodeErrorKind::malformedDate, "not a date-time: " + quoted(text));
    out = *instant;
    return true;
  }

  bool readUuid(const object& fields, const PathStep& parent, std::string_view key, Uuid& out) {
    const PathStep at = parent.child(key);
    element value;
    std::string_view text;
    if (!required(fields, at, value) || !textValue(value, at, text)) return false;
    const auto uuid = Uuid::parse(text);
    if (!uuid) return fail(at, DecodeErrorKind::malformedUuid, "not a UUID: " + quoted(text));
    out = *uuid;
    return true;
  }

  bool readGallery(const object& fields, const PathStep& parent, std::string_view key,
                   Gallery& out) {
    const PathStep at = parent.child(key);
    element value;
    std::string_view text;
    if (!required(fields, at, value) || !textValue(value, at, text)) return false;
    const auto gallery = galleryFromRawValue(text);
    if (!gallery) return fail(at, DecodeErrorKind::unknownGallery, "unknown value " + quoted(text));
    out = *gallery;
    return true;
  }

  bool readItem(const element& value, const PathStep& at, WidgetSnapshot::Item& out) {
    object fields;
    if (value.get_object().get(fields) != simdjson::SUCCESS) {
      return failType(at, "an object", value);
    }
    return readUuid(fields, at, "id", out.id) && readText(fields, at, "title", out.title) &&
           readInteger(fields, at, "score", out.score) &&
           readGallery(fields, at, "gallery", out.gallery) &&
           readText(fields, at, "detail", out.detail) &&
           readBoolean(fields, at, "unread", out.unread);
  }

  bool readItems(const object& fields, const PathStep& parent, std::string_view key,
                 std::vector<WidgetSnapshot::Item>& out) {
    const PathStep at = parent.child(key);
    element value;
    simdjson::dom::array items;
    if (!required(fields, at, value)) return false;
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
