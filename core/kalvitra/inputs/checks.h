#pragma once

#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "kalvitra/sheet/sheet.h"

// The inputs of the design questions and the workshop, the error that
// refuses one, and the checks that do not fit one input alone. Each rule is
// checked once, with one message, whoever asks: the batch tool names the
// option or field of the input, the designer the box.
//
// How the core says that something cannot be done, everywhere:
//   - CalcError (sheet/errors.h), thrown: an action of the calculation sheet
//     failed, with the calculator's own kind and message (a number that does
//     not read, an overflow, a width not below D). Its wording is the
//     calculator's and stays as it is.
//   - DesignError (here), thrown: an input of a design question or of the
//     workshop that the design cannot take, with the input, the rule it
//     broke and the English detail. Front ends word it from the input
//     catalogue (inputs/catalogue.h) in their language.
//   - Reading problems, returned, not thrown, because a reader goes on or
//     the caller decides: InputError and SheetTextError (a line of a sheet or
//     table, with its number), PlainReading::problem (a typed number),
//     LenientFinding (a field the calculations read leniently), and
//     core_design::Evaluation::problems (every input the designer's boxes
//     hold that the design refused, one each).
// Nothing else is thrown, and everything thrown is a std::exception.

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
    ProductModel,  // Text1, on the title block
    JobNumber,     // Text2
    Designer,      // who designed the core, on the title block
    Checker,       // who checked it
    Date,          // the drawing's date, YYYY-MM-DD
    RatedPower,
    Joints,               // mitred or step-lap
    JointCurve,           // the joints' VA per cm² of net area against B
    ApparentPowerFactor,  // K_q
    GuaranteedLoss,       // P0 promised, W
    GuaranteedCurrent,    // I0 promised, %
    StepLapSteps,         // steps per book of a step-lap joint
    StepLapSheets,        // sheets per step of a step-lap joint
    HvVoltage,            // U1, line to line
    LvVoltage,            // U2, line to line
    Connection,           // the IEC symbol, e.g. Dyn11
    VoltsPerTurnFactor,   // K_t in e = K_t·√S
};

// Which rule an input broke.
enum class DesignRule {
    Range,    // its own range, as the input catalogue gives it
    Fit,      // how it fits the other inputs: widths below D, limbs that do not
              // overlap, a flux density on the loss curve, a grid not too fine
    Reading,  // its text: a sheet field beyond the double range, a curve file
              // that does not read as one
};

// An input the design cannot take: which input, which rule, and the detail
// in English (what()), which names the value where that helps. An input that
// does not fit another may name that other too (also()): changing either
// mends it, and a front end marks both.
class DesignError : public std::invalid_argument {
public:
    DesignError(DesignInput input, DesignRule rule, const std::string& detail)
        : std::invalid_argument(detail), input_(input), rule_(rule) {}
    DesignError(DesignInput input, const std::string& detail)
        : DesignError(input, DesignRule::Fit, detail) {}
    DesignError(DesignInput input, DesignInput also, const std::string& detail)
        : DesignError(input, DesignRule::Fit, detail) {
        also_ = also;
    }
    DesignInput input() const noexcept { return input_; }
    DesignRule rule() const noexcept { return rule_; }
    std::optional<DesignInput> also() const noexcept { return also_; }

private:
    DesignInput input_;
    DesignRule rule_;
    std::optional<DesignInput> also_;
};

// Diameters whose square and area stay well inside the double range; the
// window height and centre distance keep the same range, so that every area,
// volume and mass made of them stays inside it too.
inline constexpr double kMinDiameter = 1e-100;
inline constexpr double kMaxDiameter = 1e100;

// Limbs in a row: 2 for a single-phase core, 3 for a three-phase one; more
// than kMaxLimbs is no core.
inline constexpr int kMaxLimbs = 1000;

// Throws DesignError(Widths) unless a core of that many stages can be built:
//   0 -> "a core has 1 to 9 stages"
void checkStageCount(std::size_t stages);

// A field of stage `stage` read as the calculations read it (leniently): a
// number beyond the double range is DesignError(Widths, Reading), naming the
// stage: (PK2 "1e999", 2, "width") -> "stage 2 (PK2): the width is a number
// beyond the double range".
double readStageInput(const Sheet& sheet, Field field, int stage, std::string_view what);

// The widths of the stages in use on a sheet: PK1 up to the last width that
// reads as non-zero, read as the calculations read them. Throws
// DesignError(Widths) when none is given ("no stage width given (PK1..PK9)"),
// when a stage before the last has none ("stage 2 (PK2) has no width but
// stage 3 has one; the stages in use must come first"), or when one is
// negative ("stage 2 (PK2): a width must be greater than 0") or beyond the
// double range ("stage 2 (PK2): the width is a number beyond the double range").
// A width whose text reads as 0 is named with its text: PK2 "２００" ->
// "stage 2 (PK2) has no width ("２００" reads as 0) but stage 3 has one; ...",
// PK1 "２１０" alone -> "no stage width given (PK1..PK9); PK1 ("２１０" reads as 0)".
std::vector<double> stageWidths(const Sheet& sheet);

// Throws DesignError(Widths) unless every width is below D and below the one
// before it: ({196}, {190, 190}) -> "stage 2 (PK2): the width 190 is not below
// the width of stage 1 (190); the widths must decrease from stage to stage".
void checkWidthsDecrease(double diameter, std::span<const double> widths);

}  // namespace kalvitra
