#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace kalvitra {

// The five ways a calculation can stop. A failed action leaves the fields it
// already wrote with their new texts and every later field untouched.
enum class ErrorKind {
    TypeMismatch,      // a field that must hold a number holds other text
    Overflow,          // a number beyond the double range, read or computed
    DivisionByZero,    // a non-zero number divided by zero
    InvalidOperation,  // e.g. infinity minus infinity, zero times infinity
    InvalidArgument,   // a negative number under the square root
};

// Stable machine name of a kind, as the batch tool prints it:
// TypeMismatch -> "type-mismatch", DivisionByZero -> "division-by-zero".
std::string_view errorKindName(ErrorKind kind);

class CalcError : public std::runtime_error {
public:
    CalcError(ErrorKind kind, const std::string& message)
        : std::runtime_error(message), kind_(kind) {}

    ErrorKind kind() const noexcept { return kind_; }

private:
    ErrorKind kind_;
};

}  // namespace kalvitra
