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

// The step of a calculation where it stopped, so that each front end can say
// where in its own words.
enum class CalcStep : std::uint8_t {
    ReadField,        // reading a field's text as a number
    StageSquares,     // D² − width² of a stage
    StageRoot,        // its square root: a width larger than D
    StageThickness,   // the thickness of one packet of a stage
    GrossArea,        // the gross cross-section area
    NetArea,          // the net cross-section area
    TotalStack,       // the total stack thickness
    WeightYoke,       // core weight: H + PK1
    WeightOutline,    // core weight: a stage's outline
    WeightWindows,    // core weight: a stage's windows
    WeightThickness,  // core weight: both packets of a stage
    WeightDensity,    // core weight: dpxs × MD
    Weight,           // core weight: the sum and the conversion to kg
};

struct CalcPlace {
    CalcStep step = CalcStep::ReadField;
    int stage = 0;  // 1..9 for the steps of one stage
};

// The place as the batch tool's messages name it:
//   {StageSquares, 3} -> "stage 3 (PK3), D² − width²"
//   {WeightDensity}   -> "core weight, dpxs × MD"
std::string describePlace(CalcPlace place);

// A calculation that stopped: its kind, a message in the batch tool's terms,
// where it stopped and, where known, the field whose text caused it, so that
// the window can point the designer at it in the window's own words.
class CalcError : public std::runtime_error {
public:
    CalcError(ErrorKind kind, const std::string& message, std::optional<Field> field = std::nullopt,
              CalcPlace place = {})
        : std::runtime_error(message), kind_(kind), field_(field), place_(place) {}

    ErrorKind kind() const noexcept { return kind_; }
    std::optional<Field> field() const noexcept { return field_; }
    CalcPlace place() const noexcept { return place_; }

private:
    ErrorKind kind_;
    std::optional<Field> field_;
    CalcPlace place_;
};

}  // namespace kalvitra
