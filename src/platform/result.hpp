#pragma once

#include <concepts>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <variant>

namespace velmora {

// Why something the operator asked for could not be done.
struct Failure {
  std::string line;            // the one line the operator reads, beginning "velmora: "
  std::error_code cause = {};  // the system's reason, when it was the system that refused
};

// "velmora: <what>: <the system's reason>": the one place where a system error becomes the
// operator's line.
Failure systemFailure(std::string_view what, std::error_code cause);

// What a step that can fail gives: its value, or the failure.
template <typename T = std::monostate>
class [[nodiscard]] Result {
 public:
  Result() requires std::default_initializable<T> : outcome_(T{}) {}
  // A value and a failure each are a result, so a step returns either as it is.
  // cppcheck-suppress noExplicitConstructor
  Result(T value) : outcome_(std::move(value)) {}  // NOLINT(google-explicit-constructor)
  // cppcheck-suppress noExplicitConstructor
  Result(Failure failure) : outcome_(std::move(failure)) {}  // NOLINT(google-explicit-constructor)

  [[nodiscard]] bool failed() const { return std::holds_alternative<Failure>(outcome_); }
  [[nodiscard]] const Failure& failure() const { return std::get<Failure>(outcome_); }
  [[nodiscard]] T& value() { return std::get<T>(outcome_); }
  [[nodiscard]] const T& value() const { return std::get<T>(outcome_); }

 private:
  std::variant<T, Failure> outcome_;
};

}  // namespace velmora
