#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "kalvitra/drawing/section_drawing.h"
#include "kalvitra/inputs/catalogue.h"
#include "kalvitra/rating/rating.h"
#include "kalvitra/sheet/sheet.h"
#include "kalvitra/text/numbers.h"
#include "kalvitra/workshop/cut_list.h"
#include "kalvitra/workshop/guarantee.h"
#include "kalvitra/workshop/loss.h"
#include "kalvitra/workshop/no_load_current.h"

// A whole core design, from the inputs a designer types to every answer about
// it: the widths, the calculation sheet after the five actions, the section
// drawing, the stage table, areas, the cut list, masses and the no-load loss.
// One evaluation computes all of it, so a window that recomputes on every
// keystroke and the tests see the same answers as the batch tool gives for
// the same sheet.

namespace kalvitra::core_design {

// Where the stage widths come from.
enum class WidthMode {
    BestForDiameter,  // the best widths for D, on the grid (or of any value)
    AsGiven,          // the widths typed, or read from a sheet
    FindDiameter,     // the smallest D, a multiple of the diameter step, whose
                      // best grid widths reach the target net area with the
                      // stacks as cut (floored to the stack rounding)
    FromRating,       // the same, the target being the net area the rating asks for
};

// Where the loss curve comes from.
enum class LossSource { Grade, CurveFile };

using workshop::FluxSource;

// Everything a designer chooses. The defaults are a complete design: the
// 196 mm core of eight stages on a 5 mm grid, in a three-limb frame.
struct Inputs {
    // section
    double diameter = 196;
    double stages = 8;  // whole, 1..9
    double grid = 5;    // 0: widths of any value
    double minWidth = 0;
    // widths
    WidthMode widthMode = WidthMode::BestForDiameter;
    std::vector<double> givenWidths = {190, 180, 160, 140, 120, 100, 65, 30};
    double netArea = 280;  // cm², the target of FindDiameter
    double diameterStep = 5;
    // frame
    double windowHeight = 760;
    double centreDistance = 364;
    double limbs = 3;  // whole, 2..1000
    // material
    double density = 7.65;
    double stackingFactor = 0.97;
    double sheetThickness = 0.27;
    double stackRound = 2;  // 0: stacks as they come
    // loss
    LossSource lossSource = LossSource::Grade;
    std::string grade = "M4-0.27";
    std::string curveName;  // a curve file's name, as the loss names its curve
    std::string curveText;  // and its text, "B,W/kg" lines
    FluxSource fluxSource = FluxSource::FluxDensity;
    double fluxDensity = 1.6;  // T
    double voltsPerTurn = 10;  // V
    double frequency = 50;     // Hz
    double buildingFactor = 1;
    // rating, all of it or none: without it the design has no turns and no I0;
    // with it the loss is at the flux density of its volts per turn in the core
    std::optional<double> ratedPower;  // kVA
    std::optional<double> hvVoltage;   // kV, line to line
    std::optional<double> lvVoltage;   // kV, line to line
    std::string connection;            // IEC symbol, "Dyn11"; empty for none
    double voltsPerTurnFactor = 0.45;  // K_t
    // no-load current and the guarantees
    workshop::JointKind joints = workshop::JointKind::Mitred;
    std::string jointCurveName;  // a joint curve file's name; empty for the typical curve
    std::string jointCurveText;  // and its text, "B,VA/cm2" lines
    // a step-lap joint's layout, both or neither, recorded for the report
    std::optional<double> stepLapSteps;   // steps per book
    std::optional<double> stepLapSheets;  // sheets per step
    double apparentPowerFactor = workshop::kDefaultApparentPowerFactor;
    std::optional<double> guaranteedLoss;     // W
    std::optional<double> guaranteedCurrent;  // %
    // title block, on the drawings and the report
    std::string productModel;  // the sheet's Text1
    std::string jobNumber;     // Text2
    std::string designer;
    std::string checker;
    std::string date;  // YYYY-MM-DD; empty for the day of the evaluation (todaysDrawingDate)
};

// The numeric inputs and where Inputs keeps them, for readers and writers of
// design files and for the boxes of a window (their keys are the catalogue's).
struct NumberInput {
    DesignInput input;
    double Inputs::*value;
};
std::span<const NumberInput> numberInputs();
const NumberInput* findNumberInput(DesignInput input);

// The numbers that may be left out: the rating's, the guarantees and the
// step-lap layout.
struct OptionalNumberInput {
    DesignInput input;
    std::optional<double> Inputs::*value;
};
std::span<const OptionalNumberInput> optionalNumberInputs();
const OptionalNumberInput* findOptionalNumberInput(DesignInput input);

// Whether the inputs give a rating: any of its inputs, or D found from it.
bool isRated(const Inputs& inputs);

// The same for the texts of the title block and the connection.
struct TextInput {
    DesignInput input;
    std::string Inputs::*value;
};
std::span<const TextInput> textInputs();
const TextInput* findTextInput(DesignInput input);

// What is wrong with one input: the rule it broke, and the core's detail.
struct Problem {
    DesignInput input;
    DesignRule rule;
    std::string message;
};

// One row of the stage table.
struct StageRow {
    double width = 0;
    double thickness = 0;             // one packet, as the sheet shows it (two decimals)
    double stack = 0;                 // both packets, as the shop stacks them
    std::optional<long long> sheets;  // in that stack
};

struct Design {
    double diameter = 0;
    std::vector<double> widths;       // as the sheet holds them
    Sheet sheet;                      // D, widths, frame and material, after the five actions
    drawing::SectionDrawing section;  // with the title block of the drawings and the report
    workshop::CutList cutList;
    std::vector<StageRow> stages;
    // Steel in the limb with the stacks as cut; not the calculator's net area,
    // its gross area × the stacking factor, which the sheet's txjmj holds.
    double netAreaCm2 = 0;
    double idealStack = 0;        // mm, both packets of every step as they come (no rounding)
    double stackAsCut = 0;        // mm, the same with each step's stack rounded as cut
    double frameMass = 0;         // kg, every piece as cut
    double calculatorWeight = 0;  // kg, the calculator's own core weight
    double threeLimbsMass = 0;    // kg, "3 limbs Hw + yokes 2C + D"
    std::string curveName;        // the loss curve used
    workshop::NoLoadLoss loss;
    // with a rating: its turns; the loss's flux density is the one in this core
    std::optional<rating::Turns> turns;
    // the apparent power, and I0 with a rating
    std::optional<workshop::ApparentPower> apparentPower;
    double apparentPowerFactor = 0;       // K_q of the method applied (methodOf)
    std::string jointCurveName;           // the joint curve used: "typical" or the file's name
    workshop::JointLayout joints;         // and a step-lap joint's counts, when given
    std::optional<double> noLoadCurrent;  // %
    // Why there is no I0: the curve has no VA/kg (Grade or Curve), B lies
    // outside the joint curve (FluxDensity, or VoltsPerTurn when they drive
    // it), or there is no rating (RatedPower). The loss and its verdict stand
    // all the same; a joint curve file that does not read is a problem of
    // the design, DesignError(JointCurve).
    std::optional<Problem> noLoadCurrentRefusal;
    bool currentGuaranteed = false;  // a guarantee of I0 was given, verdict or not
    std::optional<workshop::GuaranteeCheck> lossVerdict;
    std::optional<workshop::GuaranteeCheck> currentVerdict;
};

struct Evaluation {
    std::optional<Design> design;   // when every input is sound
    std::vector<Problem> problems;  // otherwise, at most one per input
};

// Evaluates the inputs: first each input on its own range, all of them, then
// the design in order (widths, sheet, drawing, cut list, loss), stopping at
// the first input that the design cannot take. The drawing's words are in
// the language given. Never throws for any input.
//   defaults -> widths {190, 180, 165, 150, 130, 105, 80, 45}
//   defaults, widths as given {190, 180, 160, 140, 120, 100, 65, 30}
//     -> frame mass 865.07 kg, stack of step 1 48 mm in 172 sheets
Evaluation evaluate(const Inputs& inputs, drawing::Language language);

// Whether the modes of the inputs use the input: the widths only when they
// are given, D not when it is found, the volts per turn and the frequency
// only when the flux comes from them, the curve file only when the loss does,
// the step-lap layout only for step-lap joints.
bool usesInput(const Inputs& inputs, DesignInput input);

// The cut list's options that the design used, for writing it again.
workshop::CutListOptions cutListOptions(const Inputs& inputs);

}  // namespace kalvitra::core_design
