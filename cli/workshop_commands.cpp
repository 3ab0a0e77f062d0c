#include "workshop_commands.h"

#include <CLI/CLI.hpp>
#include <array>
#include <optional>
#include <span>
#include <stdexcept>
#include <utility>
#include <vector>

#include "batch.h"
#include "command_inputs.h"
#include "command_options.h"
#include "kalvitra/drawing/dxf.h"
#include "kalvitra/drawing/title_block.h"
#include "kalvitra/inputs/catalogue.h"
#include "kalvitra/sheet/errors.h"
#include "kalvitra/text/numbers.h"
#include "kalvitra/text/utf8.h"
#include "kalvitra/workshop/cut_list.h"
#include "kalvitra/workshop/guarantee.h"
#include "kalvitra/workshop/loss.h"
#include "kalvitra/workshop/no_load_current.h"
#include "platform.h"

namespace kalvitra::cli {
namespace {

using workshop::CutList;

constexpr std::string_view kDxf = "--dxf";

// A loss curve is a few dozen lines; a file far larger is not one.
constexpr std::size_t kMaxCurveBytes = 1 << 20;

constexpr Action kStagesOnly[] = {Action::StageThicknesses};
// The workshop reads of a sheet what the stage-thickness and core-weight
// actions read (D, the widths, H, M, Z, MD, dpxs), and as they do.
constexpr Action kSheetReaders[] = {Action::StageThicknesses, Action::CoreWeight};

constexpr const char* kFrameHelp =
    R"(THE FRAME: 45-degree mitred joints, the yokes stepped as the limbs, Z >= 2 limbs in a row
whose centres are M apart, and L = H + PK1 between the yoke centre lines. With
h_k = sqrt(D^2 - w_k^2), step 1 stacks h_1 and step k stacks h_k - h_(k-1), both packets of the
step together, from the unrounded h_k. --stack-round R floors each h_k to a multiple of R first
(a core published as 190x48, 180x28, 160x36, 140x24, 120x18, 100x14, 65x16, 30x8 with D = 196
has exactly the stacks that R = 2 gives). Per layer, step k of width w is cut as:
  outer limb   2 a layer, a trapezoid: short L - w, long L + w, plate area w L
  centre limb  Z - 2 a layer, a V tip at both ends: short L - w, long L, area w (L - w/2)
  yoke         2 a layer, a trapezoid with a V notch w/2 deep under each centre limb:
               short (Z - 1) M - w, long (Z - 1) M + w, area (Z - 1) M w - (Z - 2) w^2/4
The mass of a row is MD x dpxs x plate area x stack x per layer; the frame mass is the sum of
the rows, which is MD x dpxs x (Z A L + 2 (Z - 1) M A - (Z - 2) sum of w_k^2 s_k) with
A = sum of w_k s_k, s_k the stacks.)";

std::string cutListFooter() {
    return std::string(kFrameHelp) + R"(

OUTPUT: CSV with LF line ends, the header
  step,piece,width,short,long,per_layer,stack,sheets,pieces,mass
then a row per step and piece, in the order outer-limb, centre-limb, yoke (no centre-limb
rows when Z = 2). Lengths in mm, mass in kg; numbers in the shortest form that reads back to
the same double. With --sheet-thickness T, sheets is the even number nearest to
dpxs x stack / T (whole pairs of sheets, ties going up) and pieces = per_layer x sheets, what
the shop cuts; without it both are empty. With --header zh the heads and the pieces are in
Chinese, as the designer's cut list shows them in Chinese; with --bom a UTF-8 byte order mark
comes first, so that a spreadsheet on a Chinese desktop reads the file as UTF-8.
Standard error gets the limb's net area (dpxs x sum of w_k s_k), the frame mass, which is the
true frame, and beside it two conventions, each named, with their difference from it: the
calculator's own core weight (its weight action, on thicknesses rounded to 0.01 mm) and
"3 limbs Hw + yokes 2C + D" (MD x dpxs x A x (3 H + 4 M + 2 D), three limbs whatever Z).
Masses in kg to two decimals.

DXF (--dxf FILE): every row of the table drawn once as a closed polyline of the piece's true
shape, whose area is the row's plate area, with a label in the language of --lang; pieces do
not overlap; the title block under them. DXF R12 (AC1009) ASCII, millimetres, y up; outlines
in colour 7, texts in the style GB, the shape font gbenor.shx with the big font gbcbig.shx,
as Chinese drafting has it. The file is written whole or not at all: into a new file beside
it, which is then renamed over it. With --joints step-lap the title names the joints, and with
--step-lap-steps N --step-lap-sheets N their steps per book and sheets per step; the pieces
are those of the mitred frame, whose steps the shop offsets.

)" + std::string(kTitleBlockHelp) +
           R"(

EXIT STATUS: 0; 1 when the stage-thickness action fails ("error: KIND: MESSAGE") or the DXF
file cannot be written (an old file of that name is left as it was); 2 for a bad option or
sheet, with one line naming the option or field: H, M or MD missing or not above 0, Z not a
whole number from 2 to 1000, M not above PK1 (the limbs would overlap), widths that do not
decrease, dpxs outside (0, 1], R or T not above 0, a step whose stack rounds to 0 or holds no
pair of sheets, joints neither mitred nor step-lap, a step-lap count not a whole number from 1
to 100 or given for mitred joints. On 1 and 2 nothing goes to standard output.

EXAMPLE (the published 196 mm core):
  printf 'D=196\nPK1=190\nPK2=180\nPK3=160\nPK4=140\n' > core.kvs
  printf 'PK5=120\nPK6=100\nPK7=65\nPK8=30\nH=760\nM=364\nZ=3\ndpxs=0.97\n' >> core.kvs
  kalvitra-cli cutlist --stack-round 2 --sheet-thickness 0.27 --dxf core.dxf < core.kvs
Its stacks are 48 28 36 24 18 14 16 8 mm; among the rows, step 3's centre limb is cut 790/950,
step 7's yoke 663/793 and step 5's outer limb 830/1070; the frame weighs 865.07 kg.)";
}

// "M4-0.27   1.5 T 0.83, 1.6 T 1.01, 1.7 T 1.25"
std::string gradeList() {
    std::string list;
    for (const workshop::LossCurve& grade : workshop::builtInGrades()) {
        list += "  " + grade.name +
                std::string(grade.name.size() < 10 ? 10 - grade.name.size() : 1, ' ');
        for (std::size_t k = 0; k < grade.points.size(); ++k) {
            list += (k == 0 ? "" : ", ") + writeDefault(grade.points[k].fluxDensity) + " T " +
                    writeDefault(grade.points[k].specificLoss);
        }
        list += "\n";
    }
    return list;
}

// The help on the no-load current and the verdicts against the guarantee.
constexpr const char* kNoLoadCurrentHelp =
    R"(THE NO-LOAD CURRENT (--power S): Q0 = K_q x q(B) x m + n_j x f_j x q_j(B) x A, and
I0 = Q0 / (10 x S) in %, S the rated power in kVA. q(B) is the curve's VA/kg, m the mass as
for the loss, q_j(B) the joints' VA per cm2 of the limb's net area A (cm2, from the sheet),
n_j = 2 x Z joints (4 corners, 2 at each centre limb), f_j 1 for --joints mitred (the
default) and 0.5 for step-lap, K_q 1.3 unless --apparent-power-factor gives it. The joints'
curve is a typical one, 2, 2.74 and 3.71 VA/cm2 at 1.5, 1.6 and 1.7 T, or --joint-curve FILE,
a CSV B,VA/cm2 read as a curve file is; both are interpolated as the loss, never
extrapolated. --step-lap-steps N and --step-lap-sheets N record a step-lap joint's steps per
book and sheets per step. Needs the sheet on standard input.

THE GUARANTEE (--guaranteed-loss P0 in W, --guaranteed-current I0 in %): each value is within
the guarantee when at most the guaranteed one, within the tolerance when at most 15 % (loss)
or 30 % (current) above it, as GB/T 1094.1 (IEC 60076-1) allows, and beyond it otherwise. The
margin is (guaranteed - value) / guaranteed in %, positive when within. A verdict is a result:
the exit status is 0 whatever it is.)";

std::string lossFooter() {
    return R"(THE LOSS: P0 = K x p(B) x mass. p(B) is the curve's specific loss at B, interpolated
linearly between its points and never extrapolated: a B outside the curve's range is refused,
naming the range. The mass defaults to the frame mass of the sheet on standard input (as
cutlist gives it, with --stack-round R); K defaults to 1. With --volts-per-turn E the flux
density is B = E / (sqrt(2) x pi x F x A), A the limb's net area in m2 (dpxs x sum of w_k s_k,
the same stacks as the mass) and F the frequency, 50 Hz unless given; the factor is the exact
sqrt(2) x pi = 4.44288..., not the rounded 4.44. The sheet is read only when the mass or the
net area is needed.

GRADES (--grade NAME): typical 50 Hz curves, W/kg at each B; 27Q110 and 30Q130 are 30Q120's
points, 27ZH95 and 23ZH90 27ZH100's, scaled by the ratio of the maxima their names state:
)" + gradeList() +
           R"(These are typical figures, none above the maximum the grade's name states (30Q120: at most
1.20 W/kg at 1.7 T, 50 Hz); the supplier's curve rules for guarantees (--curve). They give no
VA/kg: for the no-load current give a curve file with a third column.

CURVE FILE (--curve FILE): a CSV B,W/kg, or B,W/kg,VA/kg with the specific apparent power: an
optional header line, then one point per line, B in T strictly increasing, at least two points,
every line with as many numbers as the first point; blank lines, CRLF and a byte order mark are
fine.

)" + std::string(kNoLoadCurrentHelp) +
           R"(

OUTPUT: NAME=TEXT lines in this order: flux_density (T), specific_loss (W/kg), mass (kg),
building_factor, no_load_loss (W), numbers with up to 15 significant digits. With --power
then apparent_power_body, apparent_power_joints, apparent_power (VA), no_load_current (%),
method (the formula and its K_q and joints), joint_curve (typical or the file), and for
step-lap joints step_lap_steps and step_lap_sheets when given. With a guarantee then
no_load_loss_verdict and no_load_loss_margin, no_load_current_verdict and
no_load_current_margin (verdicts within, within-tolerance or beyond), and tolerance_rule.

EXIT STATUS: 0; 1 when the stage-thickness action fails; 2 for a bad option, sheet or curve,
with one line naming it: B, E, F, K, R or the mass not above 0, neither or both of
--flux-density and --volts-per-turn, neither or both of --grade and --curve, an unknown grade,
a curve file that cannot be read, is not numeric or whose B does not increase, a B outside the
curve; with --power also S, K_q, a guarantee or a step-lap count out of range, joints neither
mitred nor step-lap, step-lap counts for mitred joints, a joints' curve file as a curve file;
for the sheet as cutlist says. On 1 and 2 nothing goes to standard output. A curve without
VA/kg, or a B outside the joints' curve, still gives the loss and its verdict with status 0:
the current's lines and verdict are left out, and a "warning: no no-load current:" line says
why.

EXAMPLE (1123.6 kg at 1.6352 T on the M4-0.27 curve with K = 1.25: 1537.2 W):
  kalvitra-cli loss --flux-density 1.6352 --grade M4-0.27 --mass 1123.6 --building-factor 1.25
  kalvitra-cli loss --volts-per-turn 10 --grade 27ZH100 --stack-round 2 < core.kvs
  kalvitra-cli loss --flux-density 1.6 --curve steel.csv --power 500 --guaranteed-loss 900 \
      --guaranteed-current 1.2 --stack-round 2 < core.kvs)";
}

// "+0.52 %", "-0.43 %": a convention's mass against the true frame's.
std::string differenceOf(double mass, double frameMass) {
    const double percent = 100.0 * (mass - frameMass) / frameMass;
    return (percent >= 0 ? "+" : "") + twoDecimals(percent) + " %";
}

std::string summaryOf(const CutList& list, double calculatorWeight) {
    const double threeLimbs = workshop::threeLimbsConventionMass(list);
    return "limb net area " + twoDecimals(list.netAreaMm2 / 100.0) + " cm\u00B2\n" + "frame mass " +
           twoDecimals(list.frameMass) + " kg: the true frame, the sum of the rows as cut\n" +
           "convention \"the calculator's own weight\": " + twoDecimals(calculatorWeight) +
           " kg, " + differenceOf(calculatorWeight, list.frameMass) +
           " (thicknesses rounded to 0.01 mm)\n" +
           "convention \"3 limbs Hw + yokes 2C + D\": " + twoDecimals(threeLimbs) + " kg, " +
           differenceOf(threeLimbs, list.frameMass) + " (three limbs whatever Z)\n";
}

// The cut list of the sheet, refusals naming the option or field.
CutList cutListOf(const Sheet& sheet, const OptionText& stackRound, bool rounded,
                  const workshop::CutListOptions& options, std::vector<InputSource> sources) {
    sources.push_back(optionSource(DesignInput::StackRound, stackRound));
    return ask(
        [&] {
            checkGivenStackRound(rounded, options.stackRound);
            return workshop::cutListOfSheet(sheet, options);
        },
        sources);
}

// The joints' options, as given: their kind and a step-lap joint's counts.
struct JointOptions {
    OptionText joints = inputOption(DesignInput::Joints, "mitred");
    OptionText steps = inputOption(DesignInput::StepLapSteps);
    OptionText sheets = inputOption(DesignInput::StepLapSheets);
    CLI::Option* stepsOption = nullptr;
};

// Declares --joints and the step-lap counts, which go together; each needs
// `needed` when that is given.
void declareJointOptions(CLI::App& app, JointOptions& options, CLI::Option* needed,
                         std::string_view recordedFor) {
    const auto declare = [&](DesignInput input, OptionText& option, const std::string& help) {
        CLI::Option* declared = addInputOption(app, input, option, help);
        return needed != nullptr ? declared->needs(needed) : declared;
    };
    declare(DesignInput::Joints, options.joints, "The joints: mitred (default) or step-lap");
    const std::string recorded = ", recorded " + std::string(recordedFor);
    options.stepsOption = declare(DesignInput::StepLapSteps, options.steps,
                                  "Step-lap joints: steps per book" + recorded);
    CLI::Option* sheets = declare(DesignInput::StepLapSheets, options.sheets,
                                  "Step-lap joints: sheets per step" + recorded);
    options.stepsOption->needs(sheets);
    sheets->needs(options.stepsOption);
}

void addJointSources(const JointOptions& options, std::vector<InputSource>& sources) {
    sources.push_back(optionSource(DesignInput::Joints, options.joints));
    sources.push_back(optionSource(DesignInput::StepLapSteps, options.steps));
    sources.push_back(optionSource(DesignInput::StepLapSheets, options.sheets));
}

// The joints of the options; counts go with step-lap joints alone.
workshop::JointLayout readJointLayout(const JointOptions& options,
                                      std::span<const InputSource> sources) {
    workshop::JointLayout layout;
    layout.kind = ask([&] { return workshop::readJointKind(options.joints.text); }, sources);
    if (*options.stepsOption) {
        const double steps = readOption(options.steps);
        const double sheets = readOption(options.sheets);
        if (layout.kind != workshop::JointKind::StepLap) {
            throw Refusal{std::string(options.steps.name) + " and " +
                          std::string(options.sheets.name) +
                          " describe step-lap joints: give --joints step-lap"};
        }
        layout.stepLap = ask([&] { return workshop::stepLapLayout(steps, sheets); }, sources);
    }
    return layout;
}

// The options of cutlist, as given, and whether each was.
struct CutListCommand {
    OptionText stackRound = inputOption(DesignInput::StackRound);
    OptionText sheetThickness = inputOption(DesignInput::SheetThickness);
    OptionText dxfFile{kDxf, ""};
    OptionText language{kLanguageOption, "en"};
    OptionText header{kHeaderOption, "en"};
    SignatureOptions signatures;
    JointOptions joints;
    bool byteOrderMark = false;
    bool strict = false;
    CLI::Option* rounding = nullptr;
    CLI::Option* thickness = nullptr;
    CLI::Option* dxf = nullptr;
};

// Declares cutlist's options on app, each bound to its place in command.
void declareCutListOptions(CLI::App& app, CutListCommand& command) {
    command.rounding = addInputOption(app, DesignInput::StackRound, command.stackRound,
                                      "Floor each cumulative height to a multiple of R mm");
    command.thickness = addInputOption(app, DesignInput::SheetThickness, command.sheetThickness,
                                       "Sheet thickness T in mm: sheets and pieces per row");
    command.dxf = app.add_option(std::string(kDxf), command.dxfFile.text,
                                 "Also draw the pieces into FILE (DXF)")
                      ->option_text("FILE");
    app.add_option(std::string(kLanguageOption), command.language.text,
                   "Labels of the DXF: en (default) or zh")
        ->option_text("en|zh");
    app.add_option(std::string(kHeaderOption), command.header.text,
                   "Words of the CSV: en keys (default) or zh, Chinese heads and pieces")
        ->option_text("en|zh");
    app.add_flag("--bom", command.byteOrderMark,
                 "Start the CSV with a byte order mark, for a spreadsheet");
    addSignatureOptions(app, command.signatures);
    declareJointOptions(app, command.joints, nullptr, "in the DXF's title");
    app.add_flag(std::string(kStrictOption), command.strict,
                 "Refuse, not warn about, a sheet read leniently");
}

// The words of a cut list's outputs, read from its options before the sheet.
struct CutListWords {
    drawing::Language labels = drawing::Language::English;  // of the DXF
    workshop::CsvWords csv = workshop::CsvWords::Keys;
    drawing::Signatures signatures;  // of the DXF's title block
    workshop::JointLayout joints;    // of the DXF's title
};

CutListWords readCutListWords(const CutListCommand& command) {
    CutListWords words;
    words.labels = readLanguage(command.language);
    if (readLanguage(command.header) == drawing::Language::Chinese) {
        words.csv = workshop::CsvWords::Chinese;
    }
    words.signatures = readSignatures(command.signatures);
    std::vector<InputSource> sources;
    addJointSources(command.joints, sources);
    words.joints = readJointLayout(command.joints, sources);
    return words;
}

// Delivers a sound cut list: the DXF file when one is asked for, the CSV to
// output and the summary to diagnostics. The status of the run: a core
// weight the calculator cannot give, or a DXF file that cannot be written,
// fails it with nothing on output.
int deliverCutList(const Sheet& sheet, const CutList& list, const CutListCommand& command,
                   const CutListWords& words, std::string& output, std::string& diagnostics) {
    double weight = 0;
    try {
        weight = workshop::calculatorWeight(sheet);
    } catch (const CalcError& error) {
        diagnostics += describeCalcError(error) + "\n";
        return kExitCalculationFailed;
    }
    if (*command.dxf) {
        try {
            replaceFile(
                command.dxfFile.text,
                dxf::writeCutListDxf(list, words.labels,
                                     drawing::titleBlockOf(sheet, words.signatures), words.joints));
        } catch (const std::runtime_error& error) {
            // The answer is sound but not delivered: the status of a failed run.
            diagnostics += "kalvitra-cli cutlist: " + std::string(error.what()) + "\n";
            return kExitCalculationFailed;
        }
    }
    if (command.byteOrderMark) {
        output += kByteOrderMark;
    }
    output += workshop::writeCutListCsv(list, words.csv);
    diagnostics += summaryOf(list, weight);
    return kExitSuccess;
}

// The options of loss that ask for the apparent power, the no-load current
// and the verdicts, as given, and whether each was.
struct CurrentOptions {
    OptionText power = inputOption(DesignInput::RatedPower);
    JointOptions joints;
    OptionText jointCurveFile = inputOption(DesignInput::JointCurve);
    OptionText factor = inputOption(DesignInput::ApparentPowerFactor,
                                    writeDefault(workshop::kDefaultApparentPowerFactor));
    OptionText guaranteedLoss = inputOption(DesignInput::GuaranteedLoss);
    OptionText guaranteedCurrent = inputOption(DesignInput::GuaranteedCurrent);
    CLI::Option* powerOption = nullptr;
    CLI::Option* jointCurveOption = nullptr;
    CLI::Option* lossGuarantee = nullptr;
    CLI::Option* currentGuarantee = nullptr;
};

// The options of loss, as given, and whether each was.
struct LossCommand {
    OptionText flux = inputOption(DesignInput::FluxDensity);
    OptionText volts = inputOption(DesignInput::VoltsPerTurn);
    OptionText frequency = inputOption(DesignInput::Frequency, "50");
    OptionText grade = inputOption(DesignInput::Grade);
    OptionText curveFile = inputOption(DesignInput::Curve);
    OptionText buildingFactor = inputOption(DesignInput::BuildingFactor, "1");
    OptionText mass = inputOption(DesignInput::Mass);
    OptionText stackRound = inputOption(DesignInput::StackRound);
    bool strict = false;
    CLI::Option* fluxOption = nullptr;
    CLI::Option* voltsOption = nullptr;
    CLI::Option* gradeOption = nullptr;
    CLI::Option* curveOption = nullptr;
    CLI::Option* massOption = nullptr;
    CLI::Option* rounding = nullptr;
    CurrentOptions current;
};

// Declares the options of the no-load current and the verdicts; all but the
// loss's guarantee need the rated power.
void declareCurrentOptions(CLI::App& app, CurrentOptions& current) {
    current.powerOption =
        addInputOption(app, DesignInput::RatedPower, current.power,
                       "Rated power S in kVA (three-phase): the apparent power and I0");
    const auto withPower = [&](DesignInput input, OptionText& option, const std::string& help) {
        return addInputOption(app, input, option, help)->needs(current.powerOption);
    };
    current.jointCurveOption =
        withPower(DesignInput::JointCurve, current.jointCurveFile,
                  "The joints' curve in a CSV file B,VA/cm2 (default: typical)");
    withPower(DesignInput::ApparentPowerFactor, current.factor,
              "Apparent-power factor K_q of the steel (default 1.3)");
    current.lossGuarantee = addInputOption(app, DesignInput::GuaranteedLoss, current.guaranteedLoss,
                                           "Guaranteed no-load loss P0 in W: its verdict");
    current.currentGuarantee = withPower(DesignInput::GuaranteedCurrent, current.guaranteedCurrent,
                                         "Guaranteed no-load current I0 in %: its verdict");
    declareJointOptions(app, current.joints, current.powerOption, "in the output");
}

// Declares loss's options on app, each bound to its place in command, with
// the pairs that exclude or need each other.
void declareLossOptions(CLI::App& app, LossCommand& command) {
    command.fluxOption =
        addInputOption(app, DesignInput::FluxDensity, command.flux, "Peak flux density B in T");
    command.voltsOption = addInputOption(app, DesignInput::VoltsPerTurn, command.volts,
                                         "Volts per turn E: B from the sheet's net area")
                              ->excludes(command.fluxOption);
    addInputOption(app, DesignInput::Frequency, command.frequency, "Frequency F in Hz (default 50)")
        ->needs(command.voltsOption);
    command.gradeOption = addInputOption(app, DesignInput::Grade, command.grade,
                                         "A built-in grade's curve (see GRADES)");
    command.curveOption = addInputOption(app, DesignInput::Curve, command.curveFile,
                                         "The curve in a CSV file B,W/kg[,VA/kg]")
                              ->excludes(command.gradeOption);
    addInputOption(app, DesignInput::BuildingFactor, command.buildingFactor,
                   "Building factor K (default 1)");
    command.massOption = addInputOption(app, DesignInput::Mass, command.mass,
                                        "Mass in kg (default: the frame mass)");
    command.rounding =
        addInputOption(app, DesignInput::StackRound, command.stackRound,
                       "Stack rounding R for the frame mass and net area, as cutlist");
    declareCurrentOptions(app, command.current);
    app.add_flag(std::string(kStrictOption), command.strict,
                 "Refuse, not warn about, a sheet read leniently");
}

// Refuses a loss command without the flux (density or volts per turn) or
// without the curve (grade or file); CLI11 refuses both of either.
void requireFluxAndCurve(const LossCommand& command) {
    const auto given = [](DesignInput input) {  // "--grade NAME"
        const InputDefinition& entry = definitionOf(input);
        return std::string(entry.option) + " " + std::string(entry.symbol);
    };
    if (!*command.fluxOption && !*command.voltsOption) {
        throw Refusal{"give the flux density (" + given(DesignInput::FluxDensity) +
                      ") or the volts per turn (" + given(DesignInput::VoltsPerTurn) +
                      "); see kalvitra-cli loss --help"};
    }
    if (!*command.gradeOption && !*command.curveOption) {
        throw Refusal{"give the loss curve (" + given(DesignInput::Grade) + " or " +
                      given(DesignInput::Curve) + "); see kalvitra-cli loss --help"};
    }
}

// Where each input of a loss comes from: the sheet's fields, then the
// options.
std::vector<InputSource> lossSources(const LossCommand& command) {
    std::vector<InputSource> sources = sheetSources();
    for (const auto& [input, option] : {std::pair{DesignInput::FluxDensity, &command.flux},
                                        {DesignInput::VoltsPerTurn, &command.volts},
                                        {DesignInput::Frequency, &command.frequency},
                                        {DesignInput::Grade, &command.grade},
                                        {DesignInput::Curve, &command.curveFile},
                                        {DesignInput::BuildingFactor, &command.buildingFactor}}) {
        sources.push_back(optionSource(input, *option));
    }
    if (*command.massOption) {
        sources.push_back(optionSource(DesignInput::Mass, command.mass));
    }
    const CurrentOptions& current = command.current;
    for (const auto& [input, option] :
         {std::pair{DesignInput::RatedPower, &current.power},
          {DesignInput::JointCurve, &current.jointCurveFile},
          {DesignInput::ApparentPowerFactor, &current.factor},
          {DesignInput::GuaranteedLoss, &current.guaranteedLoss},
          {DesignInput::GuaranteedCurrent, &current.guaranteedCurrent}}) {
        sources.push_back(optionSource(input, *option));
    }
    addJointSources(current.joints, sources);
    return sources;
}

// The numbers and words of the options of the no-load current, read in
// order; asked when the rated power is given.
struct CurrentNumbers {
    bool asked = false;
    double power = 0;
    workshop::ApparentPowerInputs inputs;
    std::optional<double> guaranteedLoss;
    std::optional<double> guaranteedCurrent;
    std::optional<workshop::StepLapLayout> stepLap;
};

CurrentNumbers readCurrentNumbers(const CurrentOptions& current,
                                  std::span<const InputSource> sources) {
    CurrentNumbers numbers;
    numbers.asked = current.powerOption->count() > 0;
    if (numbers.asked) {
        numbers.power = readOption(current.power);
        numbers.inputs.factor = readOption(current.factor);
        ask(
            [&] {
                checkInput(DesignInput::RatedPower, numbers.power);
                checkInput(DesignInput::ApparentPowerFactor, numbers.inputs.factor);
            },
            sources);
        const workshop::JointLayout joints = readJointLayout(current.joints, sources);
        numbers.inputs.joints.kind = joints.kind;
        numbers.stepLap = joints.stepLap;
    }
    if (*current.lossGuarantee) {
        numbers.guaranteedLoss = readOption(current.guaranteedLoss);
    }
    if (*current.currentGuarantee) {
        numbers.guaranteedCurrent = readOption(current.guaranteedCurrent);
    }
    return numbers;
}

// The numbers of a loss command's options, read in this order, so that of
// several bad ones the first here is refused.
struct LossNumbers {
    double buildingFactor = 0;
    bool massGiven = false;
    double givenMass = 0;
    workshop::FluxGiven flux;
    workshop::CutListOptions options;
};

LossNumbers readLossNumbers(const LossCommand& command) {
    using workshop::FluxSource;
    LossNumbers numbers;
    numbers.buildingFactor = readOption(command.buildingFactor);
    numbers.massGiven = command.massOption->count() > 0;
    numbers.givenMass = numbers.massGiven ? readOption(command.mass) : 0.0;
    const bool byVoltage = !*command.fluxOption;
    numbers.flux.source = byVoltage ? FluxSource::VoltsPerTurn : FluxSource::FluxDensity;
    numbers.flux.value = byVoltage ? readOption(command.volts) : readOption(command.flux);
    numbers.flux.frequency = readOption(command.frequency);
    if (*command.rounding) {
        numbers.options.stackRound = readOption(command.stackRound);
    }
    return numbers;
}

// The curve of --grade or of the --curve file, refusals naming the option.
workshop::LossCurve lossCurveOf(const LossCommand& command, std::span<const InputSource> sources) {
    return ask(
        [&] {
            return *command.gradeOption
                       ? workshop::builtInGrade(command.grade.text)
                       : workshop::readLossCurve(readOptionFile(command.curveFile, kMaxCurveBytes),
                                                 command.curveFile.text);
        },
        sources);
}

// The joints' curve of --joint-curve, or the typical one.
workshop::JointCurve jointCurveOf(const CurrentOptions& current,
                                  std::span<const InputSource> sources) {
    if (!*current.jointCurveOption) {
        return workshop::typicalJointCurve();
    }
    return ask(
        [&] {
            return workshop::readJointCurve(readOptionFile(current.jointCurveFile, kMaxCurveBytes),
                                            current.jointCurveFile.text);
        },
        sources);
}

// The lines of the apparent power and the no-load current, below the loss's.
std::string currentLines(const workshop::ApparentPower& power, double current,
                         const CurrentNumbers& numbers, const workshop::JointCurve& jointCurve) {
    std::string lines =
        "apparent_power_body=" + writeDefault(power.body) + "\n" +
        "apparent_power_joints=" + writeDefault(power.joints) + "\n" +
        "apparent_power=" + writeDefault(power.total) + "\n" +
        "no_load_current=" + writeDefault(current) + "\n" +
        "method=" + workshop::methodOf(numbers.inputs.factor, numbers.inputs.joints.kind) + "\n" +
        "joint_curve=" + jointCurve.name + "\n";
    if (numbers.stepLap) {
        lines += "step_lap_steps=" + std::to_string(numbers.stepLap->stepsPerBook) + "\n" +
                 "step_lap_sheets=" + std::to_string(numbers.stepLap->sheetsPerStep) + "\n";
    }
    return lines;
}

// "no_load_loss_verdict=within" and its margin.
std::string verdictLines(std::string_view name, const workshop::GuaranteeCheck& check) {
    return std::string(name) + "_verdict=" + std::string(workshop::verdictName(check.verdict)) +
           "\n" + std::string(name) + "_margin=" + writeDefault(check.margin) + "\n";
}

// "flux_density=..." and the other NAME=TEXT lines of a loss, in their order.
std::string lossLines(const workshop::NoLoadLoss& loss) {
    return "flux_density=" + writeDefault(loss.fluxDensity) + "\n" +
           "specific_loss=" + writeDefault(loss.specificLoss) + "\n" +
           "mass=" + writeDefault(loss.mass) + "\n" +
           "building_factor=" + writeDefault(loss.buildingFactor) + "\n" +
           "no_load_loss=" + writeDefault(loss.loss) + "\n";
}

// The lines of the apparent power and I0 of the frame whose loss is given,
// with the current for its verdict. S and K_q were checked when read, so the
// core refuses here only for want of data at this B (a curve without VA/kg,
// a B outside the joints' curve): the loss stands, with the warning why.
std::string noLoadCurrentLines(const workshop::LossCurve& curve, const LossNumbers& loss,
                               const workshop::NoLoadLoss& frame, const CutList& list,
                               const CurrentOptions& options, CurrentNumbers& numbers,
                               std::span<const InputSource> sources, std::optional<double>& current,
                               std::string& diagnostics) {
    const workshop::JointCurve jointCurve = jointCurveOf(options, sources);
    numbers.inputs.joints.limbs = list.frame.limbs;
    try {
        const workshop::ApparentPower power = workshop::frameApparentPower(
            curve, jointCurve, numbers.inputs, loss.flux, frame, list.netAreaMm2);
        current = workshop::noLoadCurrent(power.total, numbers.power);
        return currentLines(power, *current, numbers, jointCurve);
    } catch (const DesignError& error) {
        diagnostics += "warning: no no-load current: " + describeRefusal(error, sources) + "\n";
        return {};
    }
}

// The verdicts on the guarantees given, and the rule they apply.
std::string guaranteeLines(double loss, std::optional<double> current,
                           const CurrentNumbers& numbers, std::span<const InputSource> sources) {
    std::string lines;
    if (numbers.guaranteedLoss) {
        lines += verdictLines(
            "no_load_loss",
            ask([&] { return workshop::checkNoLoadLoss(loss, *numbers.guaranteedLoss); }, sources));
    }
    if (numbers.guaranteedCurrent && current) {
        lines += verdictLines(
            "no_load_current",
            ask([&] { return workshop::checkNoLoadCurrent(*current, *numbers.guaranteedCurrent); },
                sources));
    }
    if (!lines.empty()) {
        lines += "tolerance_rule=" + std::string(workshop::kToleranceRule) + "\n";
    }
    return lines;
}

}  // namespace

int runCutList(const std::vector<std::string>& args, ByteSource& input, std::string& output,
               std::string& diagnostics) {
    CLI::App app(
        "The cut list of a core's frame as CSV: per step and piece the lengths to cut, the "
        "stack, the sheets and the mass.",
        "kalvitra-cli cutlist");
    app.footer(cutListFooter());
    CutListCommand command;
    declareCutListOptions(app, command);
    if (const auto status = parseOptions(app, args, output, diagnostics)) {
        return *status;
    }

    workshop::CutListOptions options;
    if (*command.rounding) {
        options.stackRound = readOption(command.stackRound);
    }
    if (*command.thickness) {
        options.sheetThickness = readOption(command.sheetThickness);
    }
    const CutListWords words = readCutListWords(command);
    const std::optional<Sheet> sheet =
        calculatedSheet(input, kStagesOnly, kSheetReaders, command.strict, diagnostics);
    if (!sheet) {
        return kExitCalculationFailed;
    }
    std::vector<InputSource> sources = sheetSources();
    sources.push_back(optionSource(DesignInput::SheetThickness, command.sheetThickness));
    const CutList list =
        cutListOf(*sheet, command.stackRound, command.rounding->count() > 0, options, sources);
    return deliverCutList(*sheet, list, command, words, output, diagnostics);
}

int runLoss(const std::vector<std::string>& args, ByteSource& input, std::string& output,
            std::string& diagnostics) {
    CLI::App app(
        "The no-load loss of a core's frame from a loss curve: P0 = K x p(B) x mass; with the "
        "rated power the no-load current, and the verdicts against the guarantee.",
        "kalvitra-cli loss");
    app.footer(lossFooter());
    LossCommand command;
    declareLossOptions(app, command);
    if (const auto status = parseOptions(app, args, output, diagnostics)) {
        return *status;
    }
    requireFluxAndCurve(command);

    const std::vector<InputSource> sources = lossSources(command);
    const LossNumbers numbers = readLossNumbers(command);
    CurrentNumbers current = readCurrentNumbers(command.current, sources);
    const workshop::LossCurve curve = lossCurveOf(command, sources);

    std::optional<CutList> list;
    if (!numbers.massGiven || *command.voltsOption || current.asked) {
        const std::optional<Sheet> sheet =
            calculatedSheet(input, kStagesOnly, kSheetReaders, command.strict, diagnostics);
        if (!sheet) {
            return kExitCalculationFailed;
        }
        list = cutListOf(*sheet, command.stackRound, command.rounding->count() > 0, numbers.options,
                         sources);
    }
    const workshop::NoLoadLoss loss = ask(
        [&] {
            return workshop::frameLoss(curve, numbers.flux, list ? list->netAreaMm2 : 0,
                                       numbers.massGiven ? numbers.givenMass : list->frameMass,
                                       numbers.buildingFactor);
        },
        sources);
    output += lossLines(loss);
    std::optional<double> noLoadCurrent;  // with the rated power, which its guarantee needs
    if (current.asked) {
        output += noLoadCurrentLines(curve, numbers, loss, *list, command.current, current, sources,
                                     noLoadCurrent, diagnostics);
    }
    output += guaranteeLines(loss.loss, noLoadCurrent, current, sources);
    return kExitSuccess;
}

}  // namespace kalvitra::cli
