#pragma once

#include <cstdint>
#include <optional>
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

enum class Field : std::uint8_t;

// A calculation that stopped: its kind, a message in the batch tool's terms,
// and where known the field whose text caused it, so that the window can
// point the designer at it in the window's own words.
class CalcError : public std::runtime_error {
public:
    CalcError(ErrorKind kind, const std::string& message, std::optional<Field> field = std::nullopt)
        : std::runtime_error(message), kind_(kind), field_(field) {}

    ErrorKind kind() const noexcept { return kind_; }
    std::optional<Field> field() const noexcept { return field_; }

private:
    ErrorKind kind_;
    std::optional<Field> field_;
};

}  // namespace kalvitra
