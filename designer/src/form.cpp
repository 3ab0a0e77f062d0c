#include "kalvitra/designer/form.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>
#include <array>

#include "kalvitra/design/best_widths.h"
#include "kalvitra/drawing/title_block.h"
#include "kalvitra/inputs/catalogue.h"
#include "kalvitra/text/numbers.h"
#include "kalvitra/text/typed_numbers.h"

namespace kalvitra::designer {
namespace {

using core_design::FluxSource;
using core_design::LossSource;
using core_design::WidthMode;

constexpr char kContext[] = "kalvitra::designer::Form";

QString localised(const char* text) {
    return QCoreApplication::translate(kContext, text);
}

// The control of an input: its key and unit are the catalogue's, its place,
// label and hint the form's.
InputRow entryRow(InputKind kind, DesignInput input, Group group, const char* label,
                  const char* hint = nullptr) {
    const InputDefinition& entry = definitionOf(input);
    return {kind, entry.key.data(), input, group, label, entry.unit.data(), hint};
}

InputRow number(DesignInput input, Group group, const char* label, const char* hint = nullptr) {
    return entryRow(InputKind::Number, input, group, label, hint);
}

InputRow maybeNumber(DesignInput input, Group group, const char* label, const char* hint) {
    return entryRow(InputKind::MaybeNumber, input, group, label, hint);
}

// In the order of the groups on screen, which is also the tab order.
const std::array kRows = {
    number(DesignInput::Diameter, Group::Section,
           QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Core diameter")),
    number(DesignInput::Stages, Group::Section,
           QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Stages"),
           QT_TRANSLATE_NOOP("kalvitra::designer::Form", "A whole number from 1 to 9.")),
    number(DesignInput::Grid, Group::Section, QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Grid"),
           QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                             "Widths are multiples of this step; 0 for widths of any value.")),
    number(DesignInput::MinWidth, Group::Section,
           QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Minimum width")),

    InputRow{InputKind::Choice, "widthMode", DesignInput::Widths, Group::Widths,
             QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Widths from"), "", nullptr},
    entryRow(InputKind::WidthList, DesignInput::Widths, Group::Widths,
             QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Widths"),
             QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                               "The stage widths, widest first, separated by blanks, commas "
                               "or line breaks.")),
    number(DesignInput::NetArea, Group::Widths,
           QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Target net area"),
           QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                             "The net area the smallest core diameter must reach.")),
    number(DesignInput::DiameterStep, Group::Widths,
           QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Diameter step"),
           QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                             "The diameter found is a multiple of this step.")),

    number(DesignInput::WindowHeight, Group::Frame,
           QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Window height")),
    number(
        DesignInput::CentreDistance, Group::Frame,
        QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Centre distance"),
        QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Between the axes of neighbouring limbs.")),
    number(DesignInput::Limbs, Group::Frame, QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Limbs"),
           QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Limbs in a row, at least 2.")),

    number(DesignInput::Density, Group::Material,
           QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Density")),
    number(DesignInput::StackingFactor, Group::Material,
           QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Stacking factor")),
    number(DesignInput::SheetThickness, Group::Material,
           QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Sheet thickness")),
    number(DesignInput::StackRound, Group::Material,
           QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Stack rounding"),
           QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                             "Each step's height is floored to a multiple of this; 0 for none.")),

    entryRow(InputKind::Choice, DesignInput::Grade, Group::Loss,
             QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Steel grade"),
             QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                               "Typical 50 Hz curves from public grade tables; the supplier's "
                               "curve rules for guarantees.")),
    entryRow(InputKind::CurveFile, DesignInput::Curve, Group::Loss,
             QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Curve file"),
             QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                               "A CSV file of B,W/kg points, B rising; a third column of "
                               "VA/kg gives the no-load current.")),
    InputRow{InputKind::Choice, "fluxSource", DesignInput::FluxDensity, Group::Loss,
             QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Flux given as"), "", nullptr},
    number(DesignInput::FluxDensity, Group::Loss,
           QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Flux density")),
    number(DesignInput::VoltsPerTurn, Group::Loss,
           QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Volts per turn"),
           QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                             "B = E / (√2·π·F·A), with the exact √2·π, not 4.44.")),
    number(DesignInput::Frequency, Group::Loss,
           QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Frequency")),
    number(DesignInput::BuildingFactor, Group::Loss,
           QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Building factor"),
           QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                             "The no-load loss is this factor × specific loss × frame mass.")),

    maybeNumber(DesignInput::RatedPower, Group::Rating,
                QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Rated power"),
                QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                                  "Three-phase; empty for a design without a rating.")),
    maybeNumber(
        DesignInput::HvVoltage, Group::Rating,
        QT_TRANSLATE_NOOP("kalvitra::designer::Form", "HV line voltage"),
        QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Line to line, at the principal tap.")),
    maybeNumber(DesignInput::LvVoltage, Group::Rating,
                QT_TRANSLATE_NOOP("kalvitra::designer::Form", "LV line voltage"),
                QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Line to line.")),
    entryRow(
        InputKind::Text, DesignInput::Connection, Group::Rating,
        QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Connection"),
        QT_TRANSLATE_NOOP("kalvitra::designer::Form", "The IEC symbol, as Dyn11, Yyn0 or Yd11.")),
    number(
        DesignInput::VoltsPerTurnFactor, Group::Rating,
        QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Volts-per-turn factor"),
        QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                          "e = K_t·√S; 0.45 is usual for three-phase distribution transformers.")),

    InputRow{InputKind::Choice, "joints", DesignInput::Joints, Group::NoLoad,
             QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Joints"), "", nullptr},
    entryRow(InputKind::CurveFile, DesignInput::JointCurve, Group::NoLoad,
             QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Joint curve file"),
             QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                               "A CSV file of B,VA/cm2 points, B rising; none for the typical "
                               "joint curve.")),
    maybeNumber(DesignInput::StepLapSteps, Group::NoLoad,
                QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Steps per book"),
                QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                                  "Step-lap joints, with the sheets per step; both empty for "
                                  "none. Recorded in the report.")),
    maybeNumber(DesignInput::StepLapSheets, Group::NoLoad,
                QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Sheets per step"),
                QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                                  "Step-lap joints, with the steps per book; both empty for "
                                  "none. Recorded in the report.")),
    number(DesignInput::ApparentPowerFactor, Group::NoLoad,
           QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Apparent-power factor"),
           QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                             "K_q of Q0 = K_q·q(B)·m + n_j·f_j·q_j(B)·A_net.")),
    maybeNumber(DesignInput::GuaranteedLoss, Group::NoLoad,
                QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Guaranteed no-load loss"),
                QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Empty for no guarantee.")),
    maybeNumber(DesignInput::GuaranteedCurrent, Group::NoLoad,
                QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Guaranteed no-load current"),
                QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                                  "In % of the rated current; empty for no guarantee.")),

    entryRow(InputKind::Text, DesignInput::ProductModel, Group::TitleBlock,
             QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Product model"),
             QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Kept in the sheet as Text1.")),
    entryRow(InputKind::Text, DesignInput::JobNumber, Group::TitleBlock,
             QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Job number"),
             QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Kept in the sheet as Text2.")),
    entryRow(InputKind::Text, DesignInput::Designer, Group::TitleBlock,
             QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Designed by")),
    entryRow(InputKind::Text, DesignInput::Checker, Group::TitleBlock,
             QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Checked by")),
    entryRow(InputKind::Text, DesignInput::Date, Group::TitleBlock,
             QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Date"),
             QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                               "YYYY-MM-DD, as 2026-12-08; empty for today.")),
};

struct ChoiceWords {
    const char* key;
    const char* label;
};

constexpr ChoiceWords kWidthModes[] = {
    {"best", QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Best for D")},
    {"given", QT_TRANSLATE_NOOP("kalvitra::designer::Form", "As given")},
    {"find", QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Find D from the net area")},
    {"rating", QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Find D from the rating")},
};
constexpr ChoiceWords kJointKinds[] = {
    {"mitred", QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Mitred (45°)")},
    {"step-lap", QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Step-lap")},
};
constexpr ChoiceWords kFluxSources[] = {
    {"fluxDensity", QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Flux density")},
    {"voltsPerTurn", QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Volts per turn")},
};
const QString kCurveChoice = QStringLiteral("curveFile");

QString fromStd(const std::string& text) {
    return QString::fromStdString(text);
}

WidthMode widthModeOf(const QString& key) {
    if (key == QLatin1String("given")) {
        return WidthMode::AsGiven;
    }
    if (key == QLatin1String("rating")) {
        return WidthMode::FromRating;
    }
    return key == QLatin1String("find") ? WidthMode::FindDiameter : WidthMode::BestForDiameter;
}

// Why a typed number does not read, with the text itself where it is short
// enough to quote.
QString readingMessage(PlainNumberProblem problem, const QString& typed) {
    switch (problem) {
        case PlainNumberProblem::None:
            break;
        case PlainNumberProblem::Empty:
            return localised(QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Type a number."));
        case PlainNumberProblem::NotANumber:
            return localised(QT_TRANSLATE_NOOP(
                "kalvitra::designer::Form",
                "Not a number: type digits, with a point for decimals, as in 196.5."));
        case PlainNumberProblem::DecimalComma: {
            QString pointed = QString::fromStdString(foldFullWidth(typed.toStdString())).trimmed();
            pointed.replace(QLatin1Char(','), QLatin1Char('.'));
            if (pointed.size() > 40) {
                return localised(QT_TRANSLATE_NOOP(
                    "kalvitra::designer::Form",
                    "A comma is not a decimal sign here: use a point, as in 196.5."));
            }
            return localised(QT_TRANSLATE_NOOP(
                                 "kalvitra::designer::Form",
                                 "A comma is not a decimal sign here: use a point, as in %1."))
                .arg(pointed);
        }
        case PlainNumberProblem::OutOfRange:
            return localised(QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                                               "The number is beyond the range of "
                                               "double precision."));
    }
    return {};
}

void readNumber(const InputRow& row, const QString& text, FormReading& reading) {
    const PlainReading number = readTypedNumber(text.toStdString());
    if (number.problem != PlainNumberProblem::None) {
        reading.problems.append({row.input, readingMessage(number.problem, text)});
        return;
    }
    if (row.kind == InputKind::MaybeNumber) {
        reading.inputs.*(core_design::findOptionalNumberInput(row.input)->value) = number.value;
    } else {
        reading.inputs.*(core_design::findNumberInput(row.input)->value) = number.value;
    }
}

void readWidths(const InputRow& row, const QString& text, FormReading& reading) {
    const WidthListReading widths = readWidthList(text.toStdString());
    if (widths.problem == PlainNumberProblem::Empty) {
        reading.problems.append(
            {row.input, localised(QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                                                    "Type the widths, widest first, separated by "
                                                    "blanks, commas or line breaks."))});
    } else if (widths.problem != PlainNumberProblem::None) {
        reading.problems.append(
            {row.input, localised(QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Width %1: %2"))
                            .arg(QString::number(widths.index),
                                 readingMessage(widths.problem, fromStd(widths.text)))});
    } else {
        reading.inputs.givenWidths = widths.widths;
    }
}

// The loss curve's file, which the curve choice needs, or the joint curve's,
// none being the typical curve: the name the design gives it, and its text.
void readCurveInput(const InputRow& row, const QString& path, const DesignTexts& texts,
                    FormReading& reading) {
    const std::string name = QFileInfo(path).fileName().toStdString();
    if (row.input == DesignInput::JointCurve) {
        reading.inputs.jointCurveName = name;
        reading.inputs.jointCurveText = texts.value(kJointCurveTextKey).toStdString();
        return;
    }
    if (path.isEmpty()) {
        reading.problems.append({row.input, localised(QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                                                                        "Choose a curve file."))});
    }
    reading.inputs.curveName = name;
    reading.inputs.curveText = texts.value(kCurveTextKey).toStdString();
}

// The defaults, with the modes and the grade of the texts.
core_design::Inputs modesOf(const DesignTexts& texts) {
    core_design::Inputs inputs;
    inputs.widthMode = widthModeOf(texts.value(QStringLiteral("widthMode")));
    inputs.fluxSource = texts.value(QStringLiteral("fluxSource")) == QLatin1String("voltsPerTurn")
                            ? FluxSource::VoltsPerTurn
                            : FluxSource::FluxDensity;
    const QString grade = texts.value(QStringLiteral("grade"));
    inputs.lossSource = grade == kCurveChoice ? LossSource::CurveFile : LossSource::Grade;
    inputs.grade = grade.toStdString();
    inputs.joints = texts.value(QStringLiteral("joints")) == QLatin1String("step-lap")
                        ? workshop::JointKind::StepLap
                        : workshop::JointKind::Mitred;
    // Whether there is a rating decides which inputs are read.
    for (const core_design::OptionalNumberInput& number : core_design::optionalNumberInputs()) {
        if (!texts.value(QLatin1String(definitionOf(number.input).key)).trimmed().isEmpty()) {
            inputs.*number.value = 0;
        }
    }
    inputs.connection = texts.value(QStringLiteral("connection")).trimmed().toStdString();
    return inputs;
}

}  // namespace

std::span<const InputRow> inputRows() {
    return kRows;
}

const InputRow* findInputRow(const QString& key) {
    const auto found = std::ranges::find_if(
        kRows, [&](const InputRow& row) { return key == QLatin1String(row.key); });
    return found == kRows.end() ? nullptr : &*found;
}

const InputRow* findInputRow(DesignInput input) {
    const auto found = std::ranges::find_if(kRows, [&](const InputRow& row) {
        return row.input == input && row.kind != InputKind::Choice;
    });
    if (found != kRows.end()) {
        return &*found;
    }
    const auto choice = std::ranges::find(kRows, input, &InputRow::input);
    return choice == kRows.end() ? nullptr : &*choice;
}

QString groupTitle(Group group) {
    switch (group) {
        case Group::Section:
            // Not "Section", the drawing's name: a screen reader finds each by its name.
            return localised(QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Core section"));
        case Group::Widths:
            return localised(QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Widths"));
        case Group::Frame:
            return localised(QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Frame"));
        case Group::Material:
            return localised(QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Material"));
        case Group::Loss:
            return localised(QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Loss"));
        case Group::Rating:
            return localised(QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Rating"));
        case Group::NoLoad:
            return localised(
                QT_TRANSLATE_NOOP("kalvitra::designer::Form", "No-load and guarantee"));
        case Group::TitleBlock:
            return localised(QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Title block"));
    }
    return {};
}

QString labelOf(const InputRow& row) {
    return localised(row.label);
}

QString hintOf(const InputRow& row) {
    return row.hint ? localised(row.hint) : QString();
}

QList<Choice> choicesOf(const InputRow& row) {
    QList<Choice> choices;
    const auto add = [&](std::span<const ChoiceWords> words) {
        for (const ChoiceWords& word : words) {
            choices.append({QLatin1String(word.key), localised(word.label)});
        }
    };
    if (row.input == DesignInput::Widths) {
        add(kWidthModes);
    } else if (row.input == DesignInput::FluxDensity) {
        add(kFluxSources);
    } else if (row.input == DesignInput::Joints) {
        add(kJointKinds);
    } else if (row.input == DesignInput::Grade) {
        // Grade names are the steel makers' own, the same in every language.
        for (const workshop::LossCurve& grade : workshop::builtInGrades()) {
            choices.append({fromStd(grade.name), fromStd(grade.name)});
        }
        choices.append(
            {kCurveChoice, localised(QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Curve file"))});
    }
    return choices;
}

DesignTexts defaultTexts() {
    const core_design::Inputs inputs;
    DesignTexts texts;
    for (const core_design::NumberInput& number : core_design::numberInputs()) {
        texts[QLatin1String(definitionOf(number.input).key)] =
            fromStd(writeDefault(inputs.*number.value));
    }
    texts[QStringLiteral("widthMode")] = QStringLiteral("best");
    texts[QStringLiteral("widths")] = fromStd(writeWidthList(inputs.givenWidths));
    texts[QStringLiteral("grade")] = fromStd(inputs.grade);
    texts[QStringLiteral("curveFile")] = QString();
    texts[kCurveTextKey] = QString();
    texts[QStringLiteral("jointCurveFile")] = QString();
    texts[kJointCurveTextKey] = QString();
    texts[QStringLiteral("fluxSource")] = QStringLiteral("fluxDensity");
    texts[QStringLiteral("joints")] = QStringLiteral("mitred");
    for (const core_design::OptionalNumberInput& number : core_design::optionalNumberInputs()) {
        texts[QLatin1String(definitionOf(number.input).key)] = QString();
    }
    for (const core_design::TextInput& text : core_design::textInputs()) {
        texts[QLatin1String(definitionOf(text.input).key)] = fromStd(inputs.*text.value);
    }
    return texts;
}

DesignTexts chosenTexts(const core_design::Design& design) {
    return {{QStringLiteral("diameter"), fromStd(writeDefault(design.diameter))},
            {QStringLiteral("widths"), fromStd(writeWidthList(design.widths))}};
}

bool isUsed(const DesignTexts& texts, DesignInput input) {
    // The grade's list also offers the curve file, so it is always in use.
    return input == DesignInput::Grade || core_design::usesInput(modesOf(texts), input);
}

FormReading readForm(const DesignTexts& texts) {
    FormReading reading;
    reading.inputs = modesOf(texts);
    core_design::Inputs& inputs = reading.inputs;
    for (const InputRow& row : kRows) {
        const QString text = texts.value(QLatin1String(row.key));
        if (row.kind == InputKind::Choice || !isUsed(texts, row.input)) {
            continue;
        }
        switch (row.kind) {
            case InputKind::Number:
                readNumber(row, text, reading);
                break;
            case InputKind::MaybeNumber:
                if (!text.trimmed().isEmpty()) {
                    readNumber(row, text, reading);
                }
                break;
            case InputKind::WidthList:
                readWidths(row, text, reading);
                break;
            case InputKind::CurveFile:
                readCurveInput(row, text, texts, reading);
                break;
            case InputKind::Text:
                inputs.*(core_design::findTextInput(row.input)->value) = text.toStdString();
                break;
            case InputKind::Choice:
                break;
        }
    }
    return reading;
}

namespace {

// The rule each input must keep with the others, as a designer reads it
// beside the box. Its numbers are the core's: %1 and %2 are the bounds of the
// input's own range, except for the grid (%1: the most grid widths) and the
// net area (%1: the largest diameter).
struct InputRule {
    DesignInput input;
    const char* rule;
};

constexpr InputRule kInputRules[] = {
    {DesignInput::Diameter,
     QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                       "The core diameter must be a number from %1 to %2, above the widest "
                       "width, and not so large beside the widths that the grid or the "
                       "stack rounding is too fine for it.")},
    {DesignInput::Stages,
     QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                       "The number of stages must be a whole number from %1 to %2.")},
    {DesignInput::Grid,
     QT_TRANSLATE_NOOP(
         "kalvitra::designer::Form",
         "The grid must be 0 (widths of any value) or a step greater than 0 that leaves "
         "1 to %1 widths from the minimum width up to D; finding D needs a step.")},
    {DesignInput::MinWidth,
     QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                       "The minimum width must be 0 or more and below D; without a "
                       "grid it cannot be above the narrowest best width.")},
    {DesignInput::NetArea,
     QT_TRANSLATE_NOOP(
         "kalvitra::designer::Form",
         "The target net area must be greater than 0 and within reach of a core of at most "
         "%1 mm.")},
    {DesignInput::DiameterStep,
     QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                       "The diameter step must be greater than 0 and not too fine for the core.")},
    {DesignInput::Widths,
     QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                       "Give %1 to %2 widths, each greater than 0, below D and below "
                       "the width before it.")},
    {DesignInput::WindowHeight,
     QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                       "The window height must be greater than 0, and the frame's "
                       "mass within the range of double precision.")},
    {DesignInput::CentreDistance,
     QT_TRANSLATE_NOOP(
         "kalvitra::designer::Form",
         "The centre distance must be greater than the widest width, or the limbs would "
         "overlap, and the frame's mass within the range of double precision.")},
    {DesignInput::Limbs,
     QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                       "The number of limbs must be a whole number from %1 to %2.")},
    {DesignInput::Density,
     QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                       "The density must be greater than 0, and the frame's mass "
                       "within the range of double precision.")},
    {DesignInput::StackingFactor,
     QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                       "The stacking factor must be a number greater than 0 and at most 1.")},
    {DesignInput::StackRound,
     QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                       "The stack rounding must be 0 (none) or more, and leave every "
                       "step a stack.")},
    {DesignInput::SheetThickness,
     QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                       "The sheet thickness must be greater than 0, and every step's "
                       "stack must hold a pair of sheets.")},
    {DesignInput::FluxDensity,
     QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                       "The flux density must lie within the loss curve; a curve is "
                       "never extrapolated.")},
    {DesignInput::VoltsPerTurn,
     QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                       "The volts per turn must be greater than 0 and give a flux "
                       "density within the loss curve.")},
    {DesignInput::Frequency, QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                                               "The frequency must be a number greater than 0.")},
    {DesignInput::BuildingFactor,
     QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                       "The building factor must be a number greater than 0.")},
    {DesignInput::Grade,
     QT_TRANSLATE_NOOP("kalvitra::designer::Form", "Choose one of the grades in the list.")},
    {DesignInput::RatedPower,
     QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                       "The rated power must be greater than 0, given with the voltages and "
                       "the connection, or all of the rating left empty.")},
    {DesignInput::HvVoltage,
     QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                       "The HV line voltage must be greater than 0 and at least the LV one, "
                       "given with the rest of the rating.")},
    {DesignInput::LvVoltage,
     QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                       "The LV line voltage must be greater than 0 and at most the HV one, "
                       "given with the rest of the rating.")},
    {DesignInput::Connection,
     QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                       "The connection must be a three-phase IEC symbol without zigzag, as "
                       "Dyn11, with a clock number the two windings can give.")},
    {DesignInput::VoltsPerTurnFactor,
     QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                       "The volts-per-turn factor must be greater than 0 and give at most "
                       "100000 turns.")},
    {DesignInput::ApparentPowerFactor,
     QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                       "The apparent-power factor must be a number greater than 0.")},
    {DesignInput::GuaranteedLoss,
     QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                       "The guaranteed no-load loss must be greater than 0, or empty.")},
    {DesignInput::GuaranteedCurrent,
     QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                       "The guaranteed no-load current must be greater than 0, or empty.")},
    {DesignInput::Curve,
     QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                       "The curve file must hold two or more lines B,W/kg, B rising "
                       "from line to line, no number negative.")},
    {DesignInput::JointCurve,
     QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                       "The joint curve file must hold two or more lines B,VA/cm2, B rising "
                       "from line to line, no number negative.")},
    {DesignInput::StepLapSteps,
     QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                       "The number of steps per book must be a whole number from %1 to %2, "
                       "given with the number of sheets per step.")},
    {DesignInput::StepLapSheets,
     QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                       "The number of sheets per step must be a whole number from %1 to %2, "
                       "given with the number of steps per book.")},
    {DesignInput::ProductModel,
     QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                       "The product model must be one line without control characters, at "
                       "most %1 bytes.")},
    {DesignInput::JobNumber,
     QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                       "The job number must be one line without control characters, at most "
                       "%1 bytes.")},
    {DesignInput::Designer,
     QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                       "The designer's name must be one line without control characters, at "
                       "most %1 bytes.")},
    {DesignInput::Checker,
     QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                       "The checker's name must be one line without control characters, at "
                       "most %1 bytes.")},
    {DesignInput::Date,
     QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                       "The date must be a day from 1900-01-01 on written YYYY-MM-DD, as "
                       "2026-12-08, or empty for today.")},
};

QString written(double value) {
    return fromStd(writeDefault(value));
}

// An input's own range in the UI language, from the catalogue; empty for an
// input whose rules are its own (a list, a name).
QString rangeRuleOf(DesignInput input) {
    const InputRange& range = definitionOf(input).range;
    const InputRow* row = findInputRow(input);
    const QString label = row ? labelOf(*row) : QString();
    const auto say = [&](const char* text) { return localised(text).arg(label); };
    switch (range.kind) {
        case RangeKind::Positive:
            return say(QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                                         "%1 must be a number greater than 0."));
        case RangeKind::Between:
            return say(QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                                         "%1 must be a number from %2 to %3."))
                .arg(written(range.low), written(range.high));
        case RangeKind::Whole:
            return say(QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                                         "%1 must be a whole number from %2 to %3."))
                .arg(written(range.low), written(range.high));
        case RangeKind::Fraction:
            return say(QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                                         "%1 must be a number greater than 0 and at most 1."));
        case RangeKind::NoneOrPositive:
            return say(QT_TRANSLATE_NOOP("kalvitra::designer::Form",
                                         "%1 must be 0 (none) or a number greater than 0."));
        case RangeKind::NotNegative:
            return say(
                QT_TRANSLATE_NOOP("kalvitra::designer::Form", "%1 must be a number of 0 or more."));
        case RangeKind::Listed:
            break;
    }
    return {};
}

}  // namespace

QString ruleOf(DesignInput input) {
    const auto found = std::ranges::find(kInputRules, input, &InputRule::input);
    if (found == std::end(kInputRules)) {
        return {};
    }
    QString rule = localised(found->rule);
    if (input == DesignInput::Grid) {
        return rule.arg(design::kMaxGridWidths);
    }
    if (input == DesignInput::NetArea) {
        return rule.arg(written(kMaxDiameter));
    }
    if (input == DesignInput::Widths) {
        return rule.arg(1).arg(kStageCount);
    }
    if (core_design::findTextInput(input) != nullptr) {
        return rule.contains(QLatin1String("%1")) ? rule.arg(drawing::kMaxTitleText) : rule;
    }
    const InputRange& range = definitionOf(input).range;
    return rule.contains(QLatin1String("%1")) ? rule.arg(written(range.low), written(range.high))
                                              : rule;
}

QString problemText(const core_design::Problem& problem, drawing::Language language) {
    if (problem.rule == DesignRule::Range) {
        if (QString range = rangeRuleOf(problem.input); !range.isEmpty()) {
            return range;
        }
    }
    if (language == drawing::Language::English) {
        // The core's own words, which name the value and what it does not fit.
        QString detail = fromStd(problem.message);
        if (!detail.isEmpty()) {
            detail[0] = detail[0].toUpper();
        }
        return detail + QLatin1Char('.');
    }
    return ruleOf(problem.input);
}

}  // namespace kalvitra::designer
