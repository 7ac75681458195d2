#pragma once
// The one way an operation that can fail for a reason answers: a value, or an error with its
// text. The caller decides what the user sees; nothing that returns one prints.

#include <cassert>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace wheelright {

struct Error {
  std::string text;
  int code = 0;  // the platform's own error code, where the failure came from one
  friend bool operator==(const Error&, const Error&) = default;
};

// Result<> (a std::monostate value) is success with nothing to return.
template <typename T = std::monostate>
class [[nodiscard]] Result {
 public:
  Result()
    requires std::is_same_v<T, std::monostate>
  = default;
  // Anything that makes a T, so that a Result<Command> is returned straight from a command.
  template <typename U>
    requires(std::is_convertible_v<U, T> && !std::is_same_v<std::remove_cvref_t<U>, Error> &&
             !std::is_same_v<std::remove_cvref_t<U>, Result>)
  Result(U&& value)  // NOLINT(google-explicit-constructor, bugprone-forwarding-reference-overload)
      : state_(std::in_place_index<0>, std::forward<U>(value)) {}
  Result(Error error) : state_(std::move(error)) {}  // NOLINT(google-explicit-constructor)

  bool ok() const { return std::holds_alternative<T>(state_); }
  explicit operator bool() const { return ok(); }

  // Asked only after ok() said which one it holds (get_if, unlike get, never throws).
  T& value() {
    assert(ok());
    return *std::get_if<T>(&state_);
  }
  const T& value() const {
    assert(ok());
    return *std::get_if<T>(&state_);
  }
  const std::string& error() const {
    assert(!ok());
    return std::get_if<Error>(&state_)->text;
  }
  int code() const {
    assert(!ok());
    return std::get_if<Error>(&state_)->code;
  }

  friend bool operator==(const Result&, const Result&) = default;

 private:
  std::variant<T, Error> state_;
};

}  // namespace wheelright
