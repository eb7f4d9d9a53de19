#pragma once

#include <string>
#include <utility>
#include <variant>

namespace kelpo {

// What went wrong, in words for the person who can fix it: what was being
// done, to what, and why ("desktop.ini: line 3: ...").
struct Failure {
  std::string message;
};

// A value, or the failure that kept it from being made: the one way the
// libraries report what can fail. They never print; the programs decide
// what reaches the user. (Where the widget's own rules ask for a silent
// fallback, as for the snapshot, there is no failure to report.)
template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : outcome_(std::in_place_index<0>, std::move(value)) {}  // NOLINT: implicit
  Result(Failure failure)                                                  // NOLINT: implicit
      : outcome_(std::in_place_index<1>, std::move(failure)) {}

  [[nodiscard]] bool ok() const { return outcome_.index() == 0; }
  explicit operator bool() const { return ok(); }

  [[nodiscard]] const T& value() const& { return std::get<0>(outcome_); }
  [[nodiscard]] T& value() & { return std::get<0>(outcome_); }
  [[nodiscard]] T value() && { return std::get<0>(std::move(outcome_)); }
  [[nodiscard]] const T& operator*() const& { return value(); }
  [[nodiscard]] T& operator*() & { return value(); }
  [[nodiscard]] const T* operator->() const { return &value(); }
  [[nodiscard]] T* operator->() { return &value(); }

  [[nodiscard]] const std::string& error() const { return std::get<1>(outcome_).message; }
  [[nodiscard]] Failure failure() const { return std::get<1>(outcome_); }

 private:
  std::variant<T, Failure> outcome_;
};

// Success that carries no value.
struct Done {};
using Status = Result<Done>;

}  // namespace kelpo
