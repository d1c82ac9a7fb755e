#pragma once

#include <string>
#include <utility>
#include <variant>

namespace veltrona {

// A failure with the cause the user is shown. The cause is UTF-8 text in the
// UI's language (Chinese); the window adds the file name in front of it.
struct Error {
    std::string cause;
    // True when the work stopped because the window asked it to (closing),
    // which is not shown to the user.
    bool cancelled = false;
};

// Holds either a value or an Error. Used by every operation that can fail.
template <class T>
class [[nodiscard]] Result {
  public:
    Result(T value) : state_(std::move(value)) {}
    Result(Error error) : state_(std::move(error)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    const Error& error() const { return std::get<1>(state_); }

  private:
    std::variant<T, Error> state_;
};

template <>
class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Error error) : failed_(true), error_(std::move(error)) {}

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const Error& error() const { return error_; }

  private:
    bool failed_ = false;
    Error error_;
};

}  // namespace veltrona
