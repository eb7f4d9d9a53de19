#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "snapshot/internet_date_time.h"
#include "snapshot/widget_snapshot.h"

namespace kelpo {

// Why a document was refused.
enum class DecodeErrorKind {
  malformedJson,      // not JSON at all, invalid UTF-8, or a number no 64-bit value holds
  notAnObject,        // the top-level value is not an object
  missingKey,         // a required key is absent
  wrongType,          // a value of the wrong JSON type, null in a required key, 7.5 for an integer
  integerOutOfRange,  // a whole number outside the signed 64-bit range
  malformedUuid,      // an item id that is not in the 8-4-4-4-12 form
  unknownGallery,     // a gallery name other than the four raw values
  malformedDate,      // a next-search date that is not an internet date-time
};

// Where and what: `path` points into the document ("toSort[1].gallery", ""
// for the document itself) and `message` names the rule broken.
struct DecodeError {
  std::string path;
  std::string message;
  DecodeErrorKind kind = DecodeErrorKind::malformedJson;

  // "toSort[1].gallery: unknown value \"Stack\"", or the bare message at the top.
  [[nodiscard]] std::string describe() const;
};

// Either a complete record or the first error met; never a partial record.
class DecodeResult {
 public:
  explicit DecodeResult(WidgetSnapshot snapshot) : outcome_(std::move(snapshot)) {}
  explicit DecodeResult(DecodeError error) : outcome_(std::move(error)) {}

  [[nodiscard]] bool ok() const { return std::holds_alternative<WidgetSnapshot>(outcome_); }
  // Only when ok().
  [[nodiscard]] const WidgetSnapshot& value() const& { return std::get<WidgetSnapshot>(outcome_); }
  [[nodiscard]] WidgetSnapshot value() && { return std::get<WidgetSnapshot>(std::move(outcome_)); }
  // Only when !ok().
  [[nodiscard]] const DecodeError& error() const { return std::get<DecodeError>(outcome_); }

 private:
  std::variant<WidgetSnapshot, DecodeError> outcome_;
};

// Decodes a widget.json document strictly: every required key present and
// non-null, every value of its own type, integers whole and within 64 bits
// (7, 7.0 and 1e2 are integers; 7.5 is not), the first of repeated keys
// counting, unknown keys ignored, a leading UTF-8 byte-order mark skipped.
// The first failure, in the order the fields are declared, aborts.
[[nodiscard]] DecodeResult decodeSnapshot(std::string_view json);

// Writes the record in the form decodeSnapshot reads: the same keys in the
// declared field order, optional fields only when present (never null), the
// date in UTC. `pretty` indents by two spaces; otherwise the output is compact.
[[nodiscard]] std::string encodeSnapshot(const WidgetSnapshot& snapshot, bool pretty = true);

}  // namespace kelpo
