#pragma once

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "kalvitra/sheet/sheet.h"

// The inputs of the design questions and the workshop, and the checks they
// share. Each range is checked here once, with one message, whoever asks: the
// batch tool names the option or field of the input, the designer the box.

namespace kalvitra {

enum class DesignInput {
    Diameter,
    Stages,
    Grid,
    MinWidth,
    NetArea,
    StackingFactor,
    DiameterStep,
    Widths,          // the stage widths of a sheet
    WindowHeight,    // H
    CentreDistance,  // M
    Limbs,           // Z
    Density,         // MD
    StackRound,
    SheetThickness,
    FluxDensity,
    VoltsPerTurn,
    Frequency,
    BuildingFactor,
    Mass,
    Grade,
    Curve,
};

// An input out of range, and which one.
class DesignError : public std::invalid_argument {
public:
    DesignError(DesignInput input, const std::string& message)
        : std::invalid_argument(message), input_(input) {}
    DesignInput input() const noexcept { return input_; }

private:
    DesignInput input_;
};

// Diameters whose square and area stay well inside the double range.
inline constexpr double kMinDiameter = 1e-100;
inline constexpr double kMaxDiameter = 1e100;

// Throws DesignError(Diameter) unless kMinDiameter <= diameter <= kMaxDiameter:
//   0    -> "the diameter must be a number greater than 0"
//   1e308 -> "the diameter must lie between 1E-100 and 1E+100"
void checkDiameter(double diameter);

// The same range for the other lengths of a core (window height, centre
// distance), so that every area, volume and mass made of them stays inside
// the double range: (WindowHeight, "window height", 1e200) -> "the window
// height must lie between 1E-100 and 1E+100".
void checkLength(DesignInput input, std::string_view what, double length);

// Limbs in a row: 2 for a single-phase core, 3 for a three-phase one; more
// than kMaxLimbs is no core.
inline constexpr int kMaxLimbs = 1000;

// Throws DesignError(Limbs) unless limbs is a whole number from 2 to
// kMaxLimbs: 2.5 -> "the number of limbs must be a whole number from 2 to 1000".
void checkLimbs(double limbs);

// Throws DesignError(StackingFactor) unless 0 < factor <= 1:
//   0.96 -> passes; 96 -> "the stacking factor must be a number greater than 0 and at most 1"
void checkStackingFactor(double factor);

// Throws DesignError(Stages) unless 1 <= stages <= 9:
//   10 -> "the number of stages must be a whole number from 1 to 9"
void checkStages(int stages);

// Throws DesignError(Widths) unless a core of that many stages can be built:
//   0 -> "a core has 1 to 9 stages"
void checkStageCount(std::size_t stages);

// Throws DesignError(StackRound) unless the stack rounding is 0 (none) or a
// number above 0: -2 -> "the stack rounding must be a number greater than 0".
void checkStackRound(double stackRound);

// Throws DesignError(input) with "the <what> must be a number greater than 0"
// unless value is finite and above 0: (Grid, "grid", 0) ->
// "the grid must be a number greater than 0".
void checkPositive(DesignInput input, std::string_view what, double value);

// A field of a sheet read as the calculations read it (leniently). A number
// beyond the double range is no input of the design:
//   (H "1e999", WindowHeight, "the window height") -> DesignError(WindowHeight,
//   "the window height is a number beyond the double range")
double readSheetInput(const Sheet& sheet, Field field, DesignInput input, std::string_view what);

// The widths of the stages in use on a sheet: PK1 up to the last width that
// reads as non-zero, read as the calculations read them. Throws
// DesignError(Widths) when none is given ("no stage width given (PK1..PK9)"),
// when a stage before the last has none ("stage 2 (PK2) has no width but
// stage 3 has one; the stages in use must come first"), or when one is
// negative ("stage 2 (PK2): a width must be greater than 0") or beyond the
// double range ("stage 2 (PK2): the width is a number beyond the double range").
std::vector<double> stageWidths(const Sheet& sheet);

// Throws DesignError(Widths) unless every width is below D and below the one
// before it: ({196}, {190, 190}) -> "stage 2 (PK2): the width 190 is not below
// the width of stage 1 (190); the widths must decrease from stage to stage".
void checkWidthsDecrease(double diameter, std::span<const double> widths);

}  // namespace kalvitra
