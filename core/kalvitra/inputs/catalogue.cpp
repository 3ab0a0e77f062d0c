#include "kalvitra/inputs/catalogue.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>

#include "kalvitra/sheet/errors.h"
#include "kalvitra/text/numbers.h"

namespace kalvitra {
namespace {

using enum RangeKind;

constexpr InputRange kLength = {Between, kMinDiameter, kMaxDiameter};

// A step-lap joint of more steps per book, or more sheets per step, than this
// is no step-lap joint the shop builds.
constexpr double kMaxStepLapCount = 100;

// In the order of DesignInput.
constexpr std::array kCatalogue = {
    InputDefinition{DesignInput::Diameter, "diameter", "--diameter", "D", Field::D, "diameter",
                    "mm", kLength},
    InputDefinition{DesignInput::Stages,
                    "stages",
                    "--stages",
                    "N",
                    std::nullopt,
                    "number of stages",
                    "",
                    {Whole, 1, kStageCount}},
    InputDefinition{
        DesignInput::Grid, "grid", "--grid", "G", std::nullopt, "grid", "mm", {NoneOrPositive}},
    InputDefinition{DesignInput::MinWidth,
                    "minWidth",
                    "--min-width",
                    "W",
                    std::nullopt,
                    "minimum width",
                    "mm",
                    {NotNegative}},
    InputDefinition{DesignInput::NetArea,
                    "netArea",
                    "--net-area",
                    "A",
                    std::nullopt,
                    "net area",
                    "cm²",
                    {Positive}},
    InputDefinition{DesignInput::StackingFactor,
                    "stackingFactor",
                    "--stacking-factor",
                    "F",
                    Field::dpxs,
                    "stacking factor",
                    "",
                    {Fraction}},
    InputDefinition{DesignInput::DiameterStep,
                    "diameterStep",
                    "--diameter-step",
                    "S",
                    std::nullopt,
                    "diameter step",
                    "mm",
                    {Positive}},
    InputDefinition{DesignInput::Widths, "widths", "", "", std::nullopt, "widths", "mm", {Listed}},
    InputDefinition{DesignInput::WindowHeight, "windowHeight", "--window-height", "H", Field::H,
                    "window height", "mm", kLength},
    InputDefinition{DesignInput::CentreDistance, "centreDistance", "--centre-distance", "M",
                    Field::M, "centre distance", "mm", kLength},
    InputDefinition{DesignInput::Limbs,
                    "limbs",
                    "--limbs",
                    "Z",
                    Field::Z,
                    "number of limbs",
                    "",
                    {Whole, 2, kMaxLimbs}},
    InputDefinition{
        DesignInput::Density, "density", "", "MD", Field::MD, "density", "g/cm³", {Positive}},
    InputDefinition{DesignInput::StackRound,
                    "stackRound",
                    "--stack-round",
                    "R",
                    std::nullopt,
                    "stack rounding",
                    "mm",
                    {NoneOrPositive}},
    InputDefinition{DesignInput::SheetThickness,
                    "sheetThickness",
                    "--sheet-thickness",
                    "T",
                    std::nullopt,
                    "sheet thickness",
                    "mm",
                    {Positive}},
    InputDefinition{DesignInput::FluxDensity,
                    "fluxDensity",
                    "--flux-density",
                    "B",
                    std::nullopt,
                    "flux density",
                    "T",
                    {Positive}},
    InputDefinition{DesignInput::VoltsPerTurn,
                    "voltsPerTurn",
                    "--volts-per-turn",
                    "E",
                    std::nullopt,
                    "voltage per turn",
                    "V",
                    {Positive}},
    InputDefinition{DesignInput::Frequency,
                    "frequency",
                    "--frequency",
                    "F",
                    std::nullopt,
                    "frequency",
                    "Hz",
                    {Positive}},
    InputDefinition{DesignInput::BuildingFactor,
                    "buildingFactor",
                    "--building-factor",
                    "K",
                    std::nullopt,
                    "building factor",
                    "",
                    {Positive}},
    InputDefinition{DesignInput::Mass, "", "--mass", "KG", std::nullopt, "mass", "kg", {Positive}},
    InputDefinition{
        DesignInput::Grade, "grade", "--grade", "NAME", std::nullopt, "grade", "", {Listed}},
    InputDefinition{
        DesignInput::Curve, "curveFile", "--curve", "FILE", std::nullopt, "curve", "", {Listed}},
    // The title block's: texts, each a single line (checkTitleText).
    InputDefinition{DesignInput::ProductModel,
                    "productModel",
                    "",
                    "Text1",
                    Field::Text1,
                    "product model",
                    "",
                    {Listed}},
    InputDefinition{
        DesignInput::JobNumber, "jobNumber", "", "Text2", Field::Text2, "job number", "", {Listed}},
    InputDefinition{DesignInput::Designer,
                    "designer",
                    "--designer",
                    "NAME",
                    std::nullopt,
                    "designer's name",
                    "",
                    {Listed}},
    InputDefinition{DesignInput::Checker,
                    "checker",
                    "--checker",
                    "NAME",
                    std::nullopt,
                    "checker's name",
                    "",
                    {Listed}},
    InputDefinition{
        DesignInput::Date, "date", "--date", "YYYY-MM-DD", std::nullopt, "date", "", {Listed}},
    InputDefinition{DesignInput::RatedPower,
                    "ratedPower",
                    "--power",
                    "S",
                    std::nullopt,
                    "rated power",
                    "kVA",
                    {Positive}},
    InputDefinition{DesignInput::Joints,
                    "joints",
                    "--joints",
                    "mitred|step-lap",
                    std::nullopt,
                    "joints",
                    "",
                    {Listed}},
    InputDefinition{DesignInput::JointCurve,
                    "jointCurveFile",
                    "--joint-curve",
                    "FILE",
                    std::nullopt,
                    "joint curve",
                    "",
                    {Listed}},
    InputDefinition{DesignInput::ApparentPowerFactor,
                    "apparentPowerFactor",
                    "--apparent-power-factor",
                    "KQ",
                    std::nullopt,
                    "apparent-power factor",
                    "",
                    {Positive}},
    InputDefinition{DesignInput::GuaranteedLoss,
                    "guaranteedLoss",
                    "--guaranteed-loss",
                    "P0",
                    std::nullopt,
                    "guaranteed no-load loss",
                    "W",
                    {Positive}},
    InputDefinition{DesignInput::GuaranteedCurrent,
                    "guaranteedCurrent",
                    "--guaranteed-current",
                    "I0",
                    std::nullopt,
                    "guaranteed no-load current",
                    "%",
                    {Positive}},
    InputDefinition{DesignInput::StepLapSteps,
                    "stepLapSteps",
                    "--step-lap-steps",
                    "N",
                    std::nullopt,
                    "number of steps per book",
                    "",
                    {Whole, 1, kMaxStepLapCount}},
    InputDefinition{DesignInput::StepLapSheets,
                    "stepLapSheets",
                    "--step-lap-sheets",
                    "N",
                    std::nullopt,
                    "number of sheets per step",
                    "",
                    {Whole, 1, kMaxStepLapCount}},
    InputDefinition{DesignInput::HvVoltage,
                    "hvVoltage",
                    "--hv",
                    "U1",
                    std::nullopt,
                    "HV line voltage",
                    "kV",
                    {Positive}},
    InputDefinition{DesignInput::LvVoltage,
                    "lvVoltage",
                    "--lv",
                    "U2",
                    std::nullopt,
                    "LV line voltage",
                    "kV",
                    {Positive}},
    InputDefinition{DesignInput::Connection,
                    "connection",
                    "--connection",
                    "C",
                    std::nullopt,
                    "connection",
                    "",
                    {Listed}},
    InputDefinition{DesignInput::VoltsPerTurnFactor,
                    "voltsPerTurnFactor",
                    "--volts-per-turn-factor",
                    "K",
                    std::nullopt,
                    "volts-per-turn factor",
                    "",
                    {Positive}},
};

[[noreturn]] void refuse(const InputDefinition& entry, std::string_view rule) {
    throw DesignError(entry.input, DesignRule::Range,
                      "the " + std::string(entry.noun) + " must " + std::string(rule));
}

void requirePositive(const InputDefinition& entry, double value) {
    if (!std::isfinite(value) || value <= 0.0) {
        refuse(entry, "be a number greater than 0");
    }
}

}  // namespace

std::span<const InputDefinition> inputCatalogue() {
    return kCatalogue;
}

const InputDefinition& definitionOf(DesignInput input) {
    return kCatalogue.at(static_cast<std::size_t>(input));
}

const InputDefinition* findInputByKey(std::string_view key) {
    if (key.empty()) {
        return nullptr;
    }
    const auto found = std::ranges::find(kCatalogue, key, &InputDefinition::key);
    return found == kCatalogue.end() ? nullptr : &*found;
}

const InputDefinition* findInputByField(Field field) {
    const auto found = std::ranges::find(kCatalogue, std::optional(field), &InputDefinition::field);
    return found == kCatalogue.end() ? nullptr : &*found;
}

void checkInput(DesignInput input, double value) {
    const InputDefinition& entry = definitionOf(input);
    const InputRange& range = entry.range;
    switch (range.kind) {
        case Positive:
            requirePositive(entry, value);
            return;
        case Between:
            requirePositive(entry, value);
            if (value < range.low || value > range.high) {
                refuse(entry, "lie between " + writeDefault(range.low) + " and " +
                                  writeDefault(range.high));
            }
            return;
        case Whole:
            if (!(value >= range.low && value <= range.high) || value != std::floor(value)) {
                refuse(entry, "be a whole number from " + writeDefault(range.low) + " to " +
                                  writeDefault(range.high));
            }
            return;
        case Fraction:
            if (!(value > 0.0 && value <= 1.0)) {
                refuse(entry, "be a number greater than 0 and at most 1");
            }
            return;
        case NoneOrPositive:
            if (value != 0) {
                requirePositive(entry, value);
            }
            return;
        case NotNegative:
            if (!std::isfinite(value) || value < 0.0) {
                refuse(entry, "be a number of 0 or more");
            }
            return;
        case Listed:
            break;
    }
    throw std::logic_error("the " + std::string(entry.noun) + " is not one number");
}

void checkPositive(DesignInput input, double value) {
    requirePositive(definitionOf(input), value);
}

double readSheetInput(const Sheet& sheet, DesignInput input) {
    const InputDefinition& entry = definitionOf(input);
    try {
        return readLenient(sheet.textRef(entry.field.value()));
    } catch (const CalcError&) {
        // Lenient reading fails on nothing but a number beyond the range.
        throw DesignError(
            input, DesignRule::Reading,
            "the " + std::string(entry.noun) + " is a number beyond the double range");
    }
}

}  // namespace kalvitra
