#include "kalvitra/design/evaluation.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "kalvitra/design/best_widths.h"
#include "kalvitra/drawing/title_block.h"
#include "kalvitra/inputs/catalogue.h"
#include "kalvitra/sheet/actions.h"
#include "kalvitra/sheet/errors.h"

namespace kalvitra::core_design {
namespace {

constexpr std::array kNumberInputs = {
    NumberInput{DesignInput::Diameter, &Inputs::diameter},
    NumberInput{DesignInput::Stages, &Inputs::stages},
    NumberInput{DesignInput::Grid, &Inputs::grid},
    NumberInput{DesignInput::MinWidth, &Inputs::minWidth},
    NumberInput{DesignInput::NetArea, &Inputs::netArea},
    NumberInput{DesignInput::DiameterStep, &Inputs::diameterStep},
    NumberInput{DesignInput::WindowHeight, &Inputs::windowHeight},
    NumberInput{DesignInput::CentreDistance, &Inputs::centreDistance},
    NumberInput{DesignInput::Limbs, &Inputs::limbs},
    NumberInput{DesignInput::Density, &Inputs::density},
    NumberInput{DesignInput::StackingFactor, &Inputs::stackingFactor},
    NumberInput{DesignInput::SheetThickness, &Inputs::sheetThickness},
    NumberInput{DesignInput::StackRound, &Inputs::stackRound},
    NumberInput{DesignInput::FluxDensity, &Inputs::fluxDensity},
    NumberInput{DesignInput::VoltsPerTurn, &Inputs::voltsPerTurn},
    NumberInput{DesignInput::Frequency, &Inputs::frequency},
    NumberInput{DesignInput::BuildingFactor, &Inputs::buildingFactor},
    NumberInput{DesignInput::VoltsPerTurnFactor, &Inputs::voltsPerTurnFactor},
    NumberInput{DesignInput::ApparentPowerFactor, &Inputs::apparentPowerFactor},
};

constexpr std::array kOptionalNumberInputs = {
    OptionalNumberInput{DesignInput::RatedPower, &Inputs::ratedPower},
    OptionalNumberInput{DesignInput::HvVoltage, &Inputs::hvVoltage},
    OptionalNumberInput{DesignInput::LvVoltage, &Inputs::lvVoltage},
    OptionalNumberInput{DesignInput::GuaranteedLoss, &Inputs::guaranteedLoss},
    OptionalNumberInput{DesignInput::GuaranteedCurrent, &Inputs::guaranteedCurrent},
    OptionalNumberInput{DesignInput::StepLapSteps, &Inputs::stepLapSteps},
    OptionalNumberInput{DesignInput::StepLapSheets, &Inputs::stepLapSheets},
};

constexpr std::array kTextInputs = {
    TextInput{DesignInput::ProductModel, &Inputs::productModel},
    TextInput{DesignInput::JobNumber, &Inputs::jobNumber},
    TextInput{DesignInput::Designer, &Inputs::designer},
    TextInput{DesignInput::Checker, &Inputs::checker},
    TextInput{DesignInput::Date, &Inputs::date},
    TextInput{DesignInput::Connection, &Inputs::connection},
};

// Collects problems, at most one per input.
class Problems {
public:
    template <typename Check>
    void check(Check&& run) {
        try {
            run();
        } catch (const DesignError& error) {
            add(error.input(), error.rule(), error.what());
        }
    }
    void add(DesignInput input, DesignRule rule, std::string message) {
        if (std::ranges::none_of(list_, [&](const Problem& p) { return p.input == input; })) {
            list_.push_back({input, rule, std::move(message)});
        }
    }
    bool empty() const { return list_.empty(); }
    std::vector<Problem> take() { return std::move(list_); }

private:
    std::vector<Problem> list_;
};

// A rating is all of S, U1, U2 and the connection: each one left out of a
// rating that has the others is named.
void checkRatingComplete(const Inputs& in, Problems& problems) {
    if (!isRated(in)) {
        return;
    }
    const auto missing = [&](DesignInput input) {
        problems.add(input, DesignRule::Fit,
                     "the " + std::string(definitionOf(input).noun) +
                         " is part of the rating: give it with the others");
    };
    for (const DesignInput input :
         {DesignInput::RatedPower, DesignInput::HvVoltage, DesignInput::LvVoltage}) {
        if (!(in.*findOptionalNumberInput(input)->value)) {
            missing(input);
        }
    }
    if (in.connection.empty()) {
        missing(DesignInput::Connection);
    }
}

// A step-lap layout is both counts: one given without the other is named.
void checkStepLapComplete(const Inputs& in, Problems& problems) {
    if (!usesInput(in, DesignInput::StepLapSteps) || !in.stepLapSteps == !in.stepLapSheets) {
        return;
    }
    const DesignInput missing =
        in.stepLapSteps ? DesignInput::StepLapSheets : DesignInput::StepLapSteps;
    const DesignInput given =
        in.stepLapSteps ? DesignInput::StepLapSteps : DesignInput::StepLapSheets;
    problems.add(missing, DesignRule::Fit,
                 "the " + std::string(definitionOf(missing).noun) +
                     " is part of the step-lap layout: give it with the " +
                     std::string(definitionOf(given).noun));
}

// Each input the modes use on its own range, then what the modes add to
// it; the design checks how they fit together.
void checkRanges(const Inputs& in, Problems& problems) {
    for (const NumberInput& number : kNumberInputs) {
        if (!usesInput(in, number.input)) {
            continue;
        }
        const double value = in.*number.value;
        if (number.input == DesignInput::Grid && in.widthMode != WidthMode::BestForDiameter) {
            problems.check(
                [&] { checkPositive(DesignInput::Grid, value); });  // the search steps on it
        } else {
            problems.check([&] { checkInput(number.input, value); });
        }
    }
    if (usesInput(in, DesignInput::Widths)) {
        problems.check([&] { checkStageCount(in.givenWidths.size()); });
    }
    for (const TextInput& text : kTextInputs) {
        if (text.input != DesignInput::Connection) {
            problems.check([&] { drawing::checkTitleText(text.input, in.*text.value); });
        }
    }
    for (const OptionalNumberInput& number : kOptionalNumberInputs) {
        const std::optional<double>& value = in.*number.value;
        if (value && usesInput(in, number.input)) {
            problems.check([&] { checkInput(number.input, *value); });
        }
    }
    checkRatingComplete(in, problems);
    checkStepLapComplete(in, problems);
    if (!in.date.empty()) {
        problems.check([&] { drawing::checkDate(in.date); });
    }
    if (usesInput(in, DesignInput::Grade) && workshop::findGrade(in.grade) == nullptr) {
        problems.add(DesignInput::Grade, DesignRule::Range, "unknown grade " + in.grade);
    }
}

// The search for D of the section inputs, the net area left to the caller.
design::DiameterQuestion sectionQuestion(const Inputs& in) {
    design::DiameterQuestion question;
    question.stackingFactor = in.stackingFactor;
    question.stages = static_cast<int>(in.stages);
    question.grid = in.grid;
    question.diameterStep = in.diameterStep;
    question.minWidth = in.minWidth;
    question.stackRound = in.stackRound;  // the target is the net area as cut
    return question;
}

// The rating of complete rating inputs, at the target flux density.
rating::Rating ratingOf(const Inputs& in) {
    rating::Rating r;
    r.power = *in.ratedPower;
    r.hvVoltage = *in.hvVoltage;
    r.lvVoltage = *in.lvVoltage;
    r.connection = rating::readConnection(in.connection);
    r.frequency = in.frequency;
    r.fluxDensity = in.fluxDensity;
    r.volts.factor = in.voltsPerTurnFactor;
    return r;
}

// D and the widths of the chosen mode.
design::StepWidths widthsOf(const Inputs& in) {
    switch (in.widthMode) {
        case WidthMode::BestForDiameter:
            return in.grid == 0
                       ? design::bestWidths(in.diameter, static_cast<int>(in.stages), in.minWidth)
                       : design::bestGridWidths(in.diameter, static_cast<int>(in.stages), in.grid,
                                                in.minWidth);
        case WidthMode::AsGiven:
            checkWidthsDecrease(in.diameter, in.givenWidths);
            return {in.diameter, in.givenWidths, 0};
        case WidthMode::FindDiameter: {
            design::DiameterQuestion question = sectionQuestion(in);
            question.netArea = in.netArea;
            return design::smallestDiameter(question);
        }
        case WidthMode::FromRating:
            return rating::rateCore(ratingOf(in), sectionQuestion(in)).core;
    }
    return {};
}

// The input whose field a calculation error names: the one the catalogue
// keeps there, else the widths, which every other field of the sheet comes from.
DesignInput inputOfField(Field field) {
    const InputDefinition* entry = findInputByField(field);
    return entry ? entry->input : DesignInput::Widths;
}

// A mass beyond the double range: with D at most 1E+100 only the frame's
// lengths and the density can take it there, so each of them is named.
void addMassProblem(Problems& problems, const std::string& message) {
    for (const DesignInput input :
         {DesignInput::WindowHeight, DesignInput::CentreDistance, DesignInput::Density}) {
        problems.add(input, DesignRule::Fit, message);
    }
}

Sheet sheetOf(const Inputs& in, const design::StepWidths& found) {
    Sheet sheet;
    sheet.setText(Field::D, writeDefault(found.diameter));
    for (std::size_t k = 0; k < found.widths.size(); ++k) {
        sheet.setText(widthField(static_cast<int>(k) + 1), writeDefault(found.widths[k]));
    }
    sheet.setText(Field::TXJS, std::to_string(found.widths.size()));
    sheet.setText(Field::H, writeDefault(in.windowHeight));
    sheet.setText(Field::M, writeDefault(in.centreDistance));
    sheet.setText(Field::Z, writeDefault(in.limbs));
    sheet.setText(Field::MD, writeDefault(in.density));
    sheet.setText(Field::dpxs, writeDefault(in.stackingFactor));
    sheet.setText(Field::Text1, in.productModel);
    sheet.setText(Field::Text2, in.jobNumber);
    for (const Action action : kAllActions) {
        runAction(action, sheet);
    }
    return sheet;
}

workshop::LossCurve curveOf(const Inputs& in) {
    if (in.lossSource == LossSource::CurveFile) {
        return workshop::readLossCurve(in.curveText, in.curveName);
    }
    return *workshop::findGrade(in.grade);
}

// The flux of the loss: the rating's volts per turn when there is one, else
// as the flux source gives it.
workshop::FluxGiven fluxOf(const Inputs& in, const Design& design) {
    if (design.turns) {
        return {FluxSource::VoltsPerTurn, design.turns->voltsPerTurn, in.frequency};
    }
    const bool byVoltage = in.fluxSource == FluxSource::VoltsPerTurn;
    return {in.fluxSource, byVoltage ? in.voltsPerTurn : in.fluxDensity, in.frequency};
}

// The joint curve of the file given, or the typical one.
workshop::JointCurve jointCurveOf(const Inputs& in) {
    if (in.jointCurveName.empty()) {
        return workshop::typicalJointCurve();
    }
    return workshop::readJointCurve(in.jointCurveText, in.jointCurveName);
}

// The apparent power, I0 and its verdict. A curve that cannot give the
// apparent power, or a design without a rating, leaves the reason in place
// of I0.
void addNoLoadCurrent(const Inputs& in, const workshop::LossCurve& curve,
                      const workshop::FluxGiven& flux, Design& result) {
    const workshop::JointCurve jointCurve = jointCurveOf(in);
    result.jointCurveName = jointCurve.name;
    result.apparentPowerFactor = in.apparentPowerFactor;
    result.currentGuaranteed = in.guaranteedCurrent.has_value();
    result.joints.kind = in.joints;
    if (in.joints == workshop::JointKind::StepLap && in.stepLapSteps && in.stepLapSheets) {
        result.joints.stepLap = workshop::stepLapLayout(*in.stepLapSteps, *in.stepLapSheets);
    }
    try {
        const workshop::ApparentPowerInputs power = {{in.joints, static_cast<int>(in.limbs)},
                                                     in.apparentPowerFactor};
        result.apparentPower = workshop::frameApparentPower(curve, jointCurve, power, flux,
                                                            result.loss, result.cutList.netAreaMm2);
    } catch (const DesignError& error) {
        result.noLoadCurrentRefusal = Problem{error.input(), error.rule(), error.what()};
        return;
    }
    if (!in.ratedPower) {
        result.noLoadCurrentRefusal = Problem{DesignInput::RatedPower, DesignRule::Fit,
                                              "the no-load current needs the rated power"};
        return;
    }
    result.noLoadCurrent = workshop::noLoadCurrent(result.apparentPower->total, *in.ratedPower);
    if (in.guaranteedCurrent) {
        result.currentVerdict =
            workshop::checkNoLoadCurrent(*result.noLoadCurrent, *in.guaranteedCurrent);
    }
}

// The no-load loss and its verdict, then the no-load current.
void addNoLoad(const Inputs& in, Design& result) {
    const workshop::LossCurve curve = curveOf(in);
    result.curveName = curve.name;
    const workshop::FluxGiven flux = fluxOf(in, result);
    const workshop::CutList& list = result.cutList;
    result.loss =
        workshop::frameLoss(curve, flux, list.netAreaMm2, list.frameMass, in.buildingFactor);
    if (in.guaranteedLoss) {
        result.lossVerdict = workshop::checkNoLoadLoss(result.loss.loss, *in.guaranteedLoss);
    }
    addNoLoadCurrent(in, curve, flux, result);
}

// Everything after the ranges: throws DesignError or CalcError for the first
// input the design cannot take.
Design designOf(const Inputs& in, drawing::Language language) {
    const design::StepWidths found = widthsOf(in);
    Design result;
    result.sheet = sheetOf(in, found);
    result.section = drawing::drawSection(
        result.sheet, language,
        {in.designer, in.checker, in.date.empty() ? drawing::todaysDrawingDate() : in.date});
    result.cutList = workshop::cutListOfSheet(result.sheet, cutListOptions(in));
    const workshop::CutList& list = result.cutList;
    const workshop::Section& section = list.section;
    result.diameter = section.diameter;
    result.widths = section.widths;
    for (std::size_t k = 0; k < section.widths.size(); ++k) {
        StageRow row;
        row.width = section.widths[k];
        row.thickness = result.section.stages[k].thickness;
        row.stack = list.stacks[k];
        row.sheets = workshop::sheetCount(list.frame.stackingFactor, row.stack, in.sheetThickness);
        result.stages.push_back(row);
    }
    result.netAreaCm2 = list.netAreaMm2 / 100;
    for (const double stack : workshop::stepStacks(section, 0)) {
        result.idealStack += stack;
    }
    for (const double stack : list.stacks) {
        result.stackAsCut += stack;
    }
    result.frameMass = list.frameMass;
    result.calculatorWeight = workshop::calculatorWeight(result.sheet);
    result.threeLimbsMass = workshop::threeLimbsConventionMass(list);

    if (isRated(in)) {
        result.turns = rating::turnsOf(ratingOf(in));
    }
    addNoLoad(in, result);
    return result;
}

}  // namespace

std::span<const NumberInput> numberInputs() {
    return kNumberInputs;
}

const NumberInput* findNumberInput(DesignInput input) {
    const auto found = std::ranges::find(kNumberInputs, input, &NumberInput::input);
    return found == kNumberInputs.end() ? nullptr : &*found;
}

std::span<const TextInput> textInputs() {
    return kTextInputs;
}

std::span<const OptionalNumberInput> optionalNumberInputs() {
    return kOptionalNumberInputs;
}

const OptionalNumberInput* findOptionalNumberInput(DesignInput input) {
    const auto found = std::ranges::find(kOptionalNumberInputs, input, &OptionalNumberInput::input);
    return found == kOptionalNumberInputs.end() ? nullptr : &*found;
}

bool isRated(const Inputs& inputs) {
    return inputs.widthMode == WidthMode::FromRating || inputs.ratedPower || inputs.hvVoltage ||
           inputs.lvVoltage || !inputs.connection.empty();
}

const TextInput* findTextInput(DesignInput input) {
    const auto found = std::ranges::find(kTextInputs, input, &TextInput::input);
    return found == kTextInputs.end() ? nullptr : &*found;
}

bool usesInput(const Inputs& inputs, DesignInput input) {
    const WidthMode mode = inputs.widthMode;
    const bool found = mode == WidthMode::FindDiameter || mode == WidthMode::FromRating;
    const bool rated = isRated(inputs);
    const bool byVoltage = inputs.fluxSource == FluxSource::VoltsPerTurn && !rated;
    switch (input) {
        case DesignInput::Diameter:
            return !found;
        case DesignInput::Widths:
            return mode == WidthMode::AsGiven;
        case DesignInput::Stages:
        case DesignInput::Grid:
        case DesignInput::MinWidth:
            return mode != WidthMode::AsGiven;
        case DesignInput::NetArea:
            return mode == WidthMode::FindDiameter;
        case DesignInput::DiameterStep:
            return found;
        case DesignInput::FluxDensity:
            return !byVoltage;
        case DesignInput::VoltsPerTurn:
            return byVoltage;
        case DesignInput::Frequency:
            return byVoltage || rated;
        case DesignInput::VoltsPerTurnFactor:
            return rated;
        case DesignInput::Grade:
            return inputs.lossSource == LossSource::Grade;
        case DesignInput::Curve:
            return inputs.lossSource == LossSource::CurveFile;
        case DesignInput::StepLapSteps:
        case DesignInput::StepLapSheets:
            return inputs.joints == workshop::JointKind::StepLap;
        case DesignInput::Mass:
            return false;  // the design's own frame mass
        default:
            return true;
    }
}

workshop::CutListOptions cutListOptions(const Inputs& inputs) {
    return {inputs.stackRound, inputs.sheetThickness};
}

Evaluation evaluate(const Inputs& inputs, drawing::Language language) {
    Problems problems;
    checkRanges(inputs, problems);
    Evaluation evaluation;
    if (problems.empty()) {
        try {
            evaluation.design = designOf(inputs, language);
        } catch (const DesignError& error) {
            if (error.input() == DesignInput::Mass) {
                addMassProblem(problems, error.what());
            } else if (error.input() == DesignInput::VoltsPerTurn && isRated(inputs)) {
                // the rating's volts per turn put the core off the curve
                problems.add(DesignInput::FluxDensity, error.rule(), error.what());
            } else {
                problems.add(error.input(), error.rule(), error.what());
            }
            if (error.also()) {
                problems.add(*error.also(), error.rule(), error.what());
            }
        } catch (const CalcError& error) {
            if (error.field()) {
                problems.add(inputOfField(*error.field()), DesignRule::Fit, error.what());
            } else {
                addMassProblem(problems, error.what());
            }
        }
    }
    evaluation.problems = problems.take();
    return evaluation;
}

}  // namespace kalvitra::core_design
