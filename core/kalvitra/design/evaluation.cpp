#include "kalvitra/design/evaluation.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "kalvitra/design/best_widths.h"
#include "kalvitra/inputs/catalogue.h"
#include "kalvitra/sheet/actions.h"
#include "kalvitra/sheet/errors.h"

namespace kalvitra::core_design {
namespace {

constexpr std::array kNumberInputs = {
    NumberInput{DesignInput::Diameter, "diameter", &Inputs::diameter},
    NumberInput{DesignInput::Stages, "stages", &Inputs::stages},
    NumberInput{DesignInput::Grid, "grid", &Inputs::grid},
    NumberInput{DesignInput::MinWidth, "minWidth", &Inputs::minWidth},
    NumberInput{DesignInput::NetArea, "netArea", &Inputs::netArea},
    NumberInput{DesignInput::DiameterStep, "diameterStep", &Inputs::diameterStep},
    NumberInput{DesignInput::WindowHeight, "windowHeight", &Inputs::windowHeight},
    NumberInput{DesignInput::CentreDistance, "centreDistance", &Inputs::centreDistance},
    NumberInput{DesignInput::Limbs, "limbs", &Inputs::limbs},
    NumberInput{DesignInput::Density, "density", &Inputs::density},
    NumberInput{DesignInput::StackingFactor, "stackingFactor", &Inputs::stackingFactor},
    NumberInput{DesignInput::SheetThickness, "sheetThickness", &Inputs::sheetThickness},
    NumberInput{DesignInput::StackRound, "stackRound", &Inputs::stackRound},
    NumberInput{DesignInput::FluxDensity, "fluxDensity", &Inputs::fluxDensity},
    NumberInput{DesignInput::VoltsPerTurn, "voltsPerTurn", &Inputs::voltsPerTurn},
    NumberInput{DesignInput::Frequency, "frequency", &Inputs::frequency},
    NumberInput{DesignInput::BuildingFactor, "buildingFactor", &Inputs::buildingFactor},
};

// Collects problems, at most one per input.
class Problems {
public:
    template <typename Check>
    void check(Check&& run) {
        try {
            run();
        } catch (const DesignError& error) {
            add(error.input(), error.what());
        }
    }
    void add(DesignInput input, std::string message) {
        if (std::ranges::none_of(list_, [&](const Problem& p) { return p.input == input; })) {
            list_.push_back({input, std::move(message)});
        }
    }
    bool empty() const { return list_.empty(); }
    std::vector<Problem> take() { return std::move(list_); }

private:
    std::vector<Problem> list_;
};

bool usesGivenWidths(const Inputs& inputs) {
    return inputs.widthMode == WidthMode::AsGiven;
}

// Each input on its own range; the design checks how they fit together.
void checkRanges(const Inputs& in, Problems& problems) {
    if (in.widthMode != WidthMode::FindDiameter) {
        problems.check([&] { checkInput(DesignInput::Diameter, in.diameter); });
    }
    if (!usesGivenWidths(in)) {
        problems.check([&] { checkInput(DesignInput::Stages, in.stages); });
        if (in.grid != 0 || in.widthMode == WidthMode::FindDiameter) {
            problems.check([&] { checkPositive(DesignInput::Grid, in.grid); });
        }
    }
    if (in.widthMode == WidthMode::FindDiameter) {
        problems.check([&] { checkInput(DesignInput::NetArea, in.netArea); });
        problems.check([&] { checkInput(DesignInput::DiameterStep, in.diameterStep); });
    }
    if (usesGivenWidths(in)) {
        problems.check([&] { checkStageCount(in.givenWidths.size()); });
    }
    problems.check([&] { checkInput(DesignInput::WindowHeight, in.windowHeight); });
    problems.check([&] { checkInput(DesignInput::CentreDistance, in.centreDistance); });
    problems.check([&] { checkInput(DesignInput::Limbs, in.limbs); });
    problems.check([&] { checkInput(DesignInput::Density, in.density); });
    problems.check([&] { checkInput(DesignInput::StackingFactor, in.stackingFactor); });
    problems.check([&] { checkInput(DesignInput::SheetThickness, in.sheetThickness); });
    problems.check([&] { checkInput(DesignInput::StackRound, in.stackRound); });
    if (in.fluxSource == FluxSource::FluxDensity) {
        problems.check([&] { checkInput(DesignInput::FluxDensity, in.fluxDensity); });
    } else {
        problems.check([&] { checkInput(DesignInput::VoltsPerTurn, in.voltsPerTurn); });
        problems.check([&] { checkInput(DesignInput::Frequency, in.frequency); });
    }
    problems.check([&] { checkInput(DesignInput::BuildingFactor, in.buildingFactor); });
    if (in.lossSource == LossSource::Grade && workshop::findGrade(in.grade) == nullptr) {
        problems.add(DesignInput::Grade, "unknown grade " + in.grade);
    }
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
            design::DiameterQuestion question;
            question.netArea = in.netArea;
            question.stackingFactor = in.stackingFactor;
            question.stages = static_cast<int>(in.stages);
            question.grid = in.grid;
            question.diameterStep = in.diameterStep;
            question.minWidth = in.minWidth;
            return design::smallestDiameter(question);
        }
    }
    return {};
}

// The input whose field a calculation error names.
DesignInput inputOfField(Field field) {
    switch (field) {
        case Field::H:
            return DesignInput::WindowHeight;
        case Field::M:
            return DesignInput::CentreDistance;
        case Field::Z:
            return DesignInput::Limbs;
        case Field::MD:
            return DesignInput::Density;
        case Field::dpxs:
            return DesignInput::StackingFactor;
        case Field::D:
            return DesignInput::Diameter;
        default:
            return DesignInput::Widths;
    }
}

// A mass beyond the double range: with D at most 1E+100 only the frame's
// lengths and the density can take it there, so each of them is named.
void addMassProblem(Problems& problems, const std::string& message) {
    for (const DesignInput input :
         {DesignInput::WindowHeight, DesignInput::CentreDistance, DesignInput::Density}) {
        problems.add(input, message);
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

// Everything after the ranges: throws DesignError or CalcError for the first
// input the design cannot take.
Design designOf(const Inputs& in, drawing::Language language) {
    const design::StepWidths found = widthsOf(in);
    Design result;
    result.sheet = sheetOf(in, found);
    result.section = drawing::drawSection(result.sheet, language);
    const workshop::Section section = workshop::sectionOfSheet(result.sheet);
    result.diameter = section.diameter;
    result.widths = section.widths;
    result.cutList =
        workshop::cutList(section, workshop::frameOfSheet(result.sheet), cutListOptions(in));
    const workshop::CutList& list = result.cutList;
    for (std::size_t k = 0; k < section.widths.size(); ++k) {
        StageRow row;
        row.width = section.widths[k];
        row.thickness = result.section.stages[k].thickness;
        row.stack = list.stacks[k];
        row.sheets = workshop::sheetCount(list.frame.stackingFactor, row.stack, in.sheetThickness);
        result.stages.push_back(row);
    }
    result.netAreaCm2 = list.netAreaMm2 / 100;
    result.frameMass = list.frameMass;
    result.calculatorWeight = workshop::calculatorWeight(result.sheet);
    result.threeLimbsMass = workshop::threeLimbsConventionMass(list);

    const workshop::LossCurve curve = curveOf(in);
    result.curveName = curve.name;
    double fluxDensity = in.fluxDensity;
    if (in.fluxSource == FluxSource::VoltsPerTurn) {
        fluxDensity = workshop::fluxDensityOf(in.voltsPerTurn, in.frequency, list.netAreaMm2);
    }
    try {
        result.loss = workshop::noLoadLoss(curve, fluxDensity, list.frameMass, in.buildingFactor);
    } catch (const DesignError& error) {
        // A flux density out of the curve's range comes from the voltage
        // when that is what the designer gave.
        const bool fromVoltage =
            error.input() == DesignInput::FluxDensity && in.fluxSource == FluxSource::VoltsPerTurn;
        throw DesignError(fromVoltage ? DesignInput::VoltsPerTurn : error.input(), error.what());
    }
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
            } else {
                problems.add(error.input(), error.what());
            }
        } catch (const CalcError& error) {
            if (error.field()) {
                problems.add(inputOfField(*error.field()), error.what());
            } else {
                addMassProblem(problems, error.what());
            }
        }
    }
    evaluation.problems = problems.take();
    return evaluation;
}

}  // namespace kalvitra::core_design
