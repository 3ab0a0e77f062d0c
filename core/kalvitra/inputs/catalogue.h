#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "kalvitra/inputs/checks.h"
#include "kalvitra/sheet/sheet.h"

// Every input of the design questions and the workshop, defined once: the key
// a design file gives it, the batch tool's option and the symbol its help
// shows, the sheet field that holds it, what a person calls it, its unit and
// its range. The checks, the batch tool's options and refusals, and the
// designer's form and files all read this one table; adding an input is one
// entry here, plus the places that use it.

namespace kalvitra {

// What values an input may take on its own; how it fits the others (widths
// below D, limbs that do not overlap) is the design's to check.
enum class RangeKind {
    Positive,        // a number above 0
    Between,         // a number above 0, from low to high
    Whole,           // a whole number from low to high
    Fraction,        // above 0 and at most 1
    NoneOrPositive,  // 0 for none, or a number above 0
    NotNegative,     // 0 or more
    Listed,          // a list or a name with rules of its own (widths, grade, curve)
};

struct InputRange {
    RangeKind kind;
    double low = 0;
    double high = 0;
};

struct InputDefinition {
    DesignInput input;
    std::string_view key;        // as a design file names it: "diameter"; empty if none
    std::string_view option;     // the batch tool's: "--diameter"; empty if none
    std::string_view symbol;     // as the batch tool's help writes the value: "D"
    std::optional<Field> field;  // the sheet field that holds it, if any
    std::string_view noun;       // English, as the messages say it: "diameter"
    std::string_view unit;       // SI symbol: "mm"; empty for a pure number
    InputRange range;
};

// Every input, in the order of DesignInput.
std::span<const InputDefinition> inputCatalogue();

// The entry of an input: definitionOf(DesignInput::WindowHeight).field -> Field::H.
const InputDefinition& definitionOf(DesignInput input);

// The entry with that design-file key, or null: "stackRound" -> StackRound.
const InputDefinition* findInputByKey(std::string_view key);

// The entry kept in that sheet field, or null: Field::Z -> Limbs,
// Field::PK1 -> null (the widths are a list of fields).
const InputDefinition* findInputByField(Field field);

// Throws DesignError(input, Range) unless value keeps the input's range, in
// the catalogue's words:
//   (Diameter, 0)       -> "the diameter must be a number greater than 0"
//   (Diameter, 1e308)   -> "the diameter must lie between 1E-100 and 1E+100"
//   (Limbs, 2.5)        -> "the number of limbs must be a whole number from 2 to 1000"
//   (StackingFactor, 96) -> "the stacking factor must be a number greater than 0 and at most 1"
//   (StackRound, 0)     -> passes; (StackRound, -2) -> "the stack rounding must be a number
//                          greater than 0"
//   (MinWidth, -1)      -> "the minimum width must be a number of 0 or more"
// An input without a numeric range (Listed) is a logic_error.
void checkInput(DesignInput input, double value);

// The input's sheet field read as the calculations read it (leniently). A
// number beyond the double range is no input of the design:
//   (H "1e999", WindowHeight) -> DesignError(WindowHeight, Reading,
//   "the window height is a number beyond the double range")
double readSheetInput(const Sheet& sheet, DesignInput input);

// The same, but above 0 whatever the range allows: a grid when a diameter is
// searched for. (Grid, 0) -> "the grid must be a number greater than 0".
void checkPositive(DesignInput input, double value);

}  // namespace kalvitra
