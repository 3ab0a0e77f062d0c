#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

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

// Throws DesignError(StackingFactor) unless 0 < factor <= 1:
//   0.96 -> passes; 96 -> "the stacking factor must be a number greater than 0 and at most 1"
void checkStackingFactor(double factor);

// Throws DesignError(Stages) unless 1 <= stages <= 9:
//   10 -> "the number of stages must be a whole number from 1 to 9"
void checkStages(int stages);

// Throws DesignError(input) with "the <what> must be a number greater than 0"
// unless value is finite and above 0: (Grid, "grid", 0) ->
// "the grid must be a number greater than 0".
void checkPositive(DesignInput input, std::string_view what, double value);

}  // namespace kalvitra
