#include "rating_command.h"

#include <CLI/CLI.hpp>
#include <array>
#include <optional>
#include <utility>

#include "batch.h"
#include "command_inputs.h"
#include "command_options.h"
#include "design_commands.h"
#include "kalvitra/inputs/catalogue.h"
#include "kalvitra/rating/rating.h"
#include "kalvitra/sheet/sheet.h"
#include "kalvitra/text/numbers.h"

namespace kalvitra::cli {
namespace {

constexpr std::string_view kSheetOption = "--sheet";

constexpr const char* kRatingFooter =
    R"(THE CHAIN: in this order, R(x) rounding half up:
  1. phase voltages: U_ph = U x 1000 / sqrt(3) for a star winding, U x 1000 for a delta, in V;
  2. e0 = K x sqrt(S), the estimated volts per turn; --volts-per-turn E gives e0 itself;
  3. LV turns N2 = max(1, R(U2_ph / e0)); the volts per turn are then e = U2_ph / N2;
  4. HV turns N1 = max(1, R(U1_ph / e)) at the principal tap; the ratio error is
     (N1/N2) / (U1_ph/U2_ph) - 1, in %, flagged beyond 0.5 %, the usual tolerance on the
     voltage ratio;
  5. the net area required A = e / (sqrt(2) x pi x F x B), in cm2, with the exact
     sqrt(2) x pi = 4.44288... the loss uses;
  6. the diameter as kalvitra-cli diameter chooses it for A with the same options, and its best
     widths; with --stack-round R the net area that must reach A is the one as cut;
  7. the flux density at that core, e / (sqrt(2) x pi x F x A_net), A_net the net area with the
     stacks as cut (as cutlist and loss take it). It differs from B by the grid and R.

CONNECTION (--connection C): the IEC symbol, the HV winding in capitals and the LV winding in
small letters: D/d delta, Y/y star, YN/yn a star with its neutral, then the clock number 0 to
11 (optional). Two star or two delta windings give an even clock number, a star and a delta an
odd one: Dyn11, Yyn0, Yd11, YNd11, Dd0. A zigzag (z) or single-phase (I, i) winding is refused.

OUTPUT: NAME=TEXT lines in this order, numbers in the shortest form that reads back to the same
double: hv_phase_voltage and lv_phase_voltage (V), volts_per_turn (V), lv_turns, hv_turns,
ratio_error_percent, net_area_required (cm2), diameter (mm), widths (mm, stage 1 first,
separated by blanks), net_area (cm2, stacks as cut), flux_density (T); then, when the ratio
error's magnitude exceeds 0.5 %, ratio_error_flag=beyond-0.5%. With --sheet the output is
instead the sheet of the core that the actions and the other commands read: D=, dpxs= (F as
given), PK1=..PKn=, and H=, M=, Z= when --window-height, --centre-distance, --limbs are given.
Standard error gets the turns and the core in words, and the ratio error when it is flagged.
A number in an option must be one plain finite number with a decimal point.

EXIT STATUS: 0, or 2 with a one-line message naming the option and nothing on standard
output: a missing required or unknown option, a number with anything after it, S, U1, U2, F,
B, K or E not above 0, U1 below U2, a connection that is not such a symbol, more than 100000
turns on either winding (e or K too small), and what kalvitra-cli diameter refuses; H, M or Z
out of range.

EXAMPLE (500 kVA, 10/0.4 kV, Dyn11, at 1.6 T):
  kalvitra-cli rating --power 500 --hv 10 --lv 0.4 --connection Dyn11 --flux-density 1.6 \
    --stages 9 --stacking-factor 0.97 --stack-round 2
  kalvitra-cli rating --power 500 --hv 10 --lv 0.4 --connection Dyn11 --flux-density 1.6 \
    --stages 9 --stacking-factor 0.97 --stack-round 2 --sheet --window-height 460 \
    --centre-distance 420 --limbs 3 | kalvitra-cli cutlist --stack-round 2
It writes the chain of a 996/23-turn winding at 10.04 V per turn, 282.5 cm2 required, D = 200 mm
and 287.02 cm2 as cut at 1.57 T; the second pipes the core's sheet to the cut list.)";

// The options of rating, as given, and whether each was.
struct RatingCommand {
    OptionText power = inputOption(DesignInput::RatedPower);
    OptionText hv = inputOption(DesignInput::HvVoltage);
    OptionText lv = inputOption(DesignInput::LvVoltage);
    OptionText connection = inputOption(DesignInput::Connection);
    OptionText frequency = inputOption(DesignInput::Frequency, "50");
    OptionText flux = inputOption(DesignInput::FluxDensity);
    OptionText factor = inputOption(DesignInput::VoltsPerTurnFactor, "0.45");
    OptionText volts = inputOption(DesignInput::VoltsPerTurn);
    OptionText stages = inputOption(DesignInput::Stages);
    OptionText grid = inputOption(DesignInput::Grid, "5");
    OptionText step = inputOption(DesignInput::DiameterStep, "5");
    OptionText minWidth = inputOption(DesignInput::MinWidth, "0");
    OptionText stackingFactor = inputOption(DesignInput::StackingFactor);
    OptionText stackRound = inputOption(DesignInput::StackRound);
    OptionText windowHeight = inputOption(DesignInput::WindowHeight);
    OptionText centreDistance = inputOption(DesignInput::CentreDistance);
    OptionText limbs = inputOption(DesignInput::Limbs);
    bool sheet = false;
    CLI::Option* voltsOption = nullptr;
    CLI::Option* rounding = nullptr;
    std::array<CLI::Option*, 3> frameOptions = {};
};

void declareRatingOptions(CLI::App& app, RatingCommand& c) {
    const auto required = [&](DesignInput input, OptionText& option, const std::string& help) {
        addInputOption(app, input, option, help + " (required)")->required();
    };
    required(DesignInput::RatedPower, c.power, "Rated power S in kVA, three-phase");
    required(DesignInput::HvVoltage, c.hv, "HV line voltage U1 in kV");
    required(DesignInput::LvVoltage, c.lv, "LV line voltage U2 in kV");
    required(DesignInput::Connection, c.connection, "IEC connection symbol, e.g. Dyn11");
    addInputOption(app, DesignInput::Frequency, c.frequency, "Frequency F in Hz (default 50)");
    required(DesignInput::FluxDensity, c.flux, "Peak flux density B in T to design for");
    CLI::Option* factor = addInputOption(app, DesignInput::VoltsPerTurnFactor, c.factor,
                                         "Volts-per-turn factor K: e0 = K sqrt(S) (default 0.45)");
    c.voltsOption = addInputOption(app, DesignInput::VoltsPerTurn, c.volts,
                                   "Volts per turn e0 in V, instead of K")
                        ->excludes(factor);
    required(DesignInput::Stages, c.stages, "Number of stages N, 1 to 9");
    addInputOption(app, DesignInput::Grid, c.grid, "Widths are multiples of G mm (default 5)");
    addInputOption(app, DesignInput::DiameterStep, c.step, "D is a multiple of S mm (default 5)");
    addInputOption(app, DesignInput::MinWidth, c.minWidth, "Narrowest width W in mm (default 0)");
    required(DesignInput::StackingFactor, c.stackingFactor,
             "Stacking factor F, above 0 and at most 1");
    c.rounding = addInputOption(app, DesignInput::StackRound, c.stackRound,
                                "The net area as cut, stacks floored to R mm");
    CLI::Option* sheet = app.add_flag(std::string(kSheetOption), c.sheet,
                                      "Write the core's sheet instead of the chain");
    c.frameOptions = {
        addInputOption(app, DesignInput::WindowHeight, c.windowHeight, "H= of the sheet, in mm"),
        addInputOption(app, DesignInput::CentreDistance, c.centreDistance,
                       "M= of the sheet, in mm"),
        addInputOption(app, DesignInput::Limbs, c.limbs, "Z= of the sheet, limbs in a row")};
    for (CLI::Option* frame : c.frameOptions) {
        frame->needs(sheet);
    }
}

std::vector<InputSource> ratingSources(const RatingCommand& c) {
    std::vector<InputSource> sources;
    for (const auto& [input, option] : {std::pair{DesignInput::RatedPower, &c.power},
                                        {DesignInput::HvVoltage, &c.hv},
                                        {DesignInput::LvVoltage, &c.lv},
                                        {DesignInput::Connection, &c.connection},
                                        {DesignInput::Frequency, &c.frequency},
                                        {DesignInput::FluxDensity, &c.flux},
                                        {DesignInput::VoltsPerTurnFactor, &c.factor},
                                        {DesignInput::VoltsPerTurn, &c.volts},
                                        {DesignInput::Stages, &c.stages},
                                        {DesignInput::Grid, &c.grid},
                                        {DesignInput::DiameterStep, &c.step},
                                        {DesignInput::MinWidth, &c.minWidth},
                                        {DesignInput::StackingFactor, &c.stackingFactor},
                                        {DesignInput::StackRound, &c.stackRound},
                                        {DesignInput::WindowHeight, &c.windowHeight},
                                        {DesignInput::CentreDistance, &c.centreDistance},
                                        {DesignInput::Limbs, &c.limbs}}) {
        sources.push_back(optionSource(input, *option));
    }
    return sources;
}

// The numbers of the options, read in the order of the chain, so that of
// several bad ones the first here is refused.
struct RatingNumbers {
    rating::Rating rating;
    design::DiameterQuestion section;
    std::array<std::optional<double>, 3> frame;  // H, M, Z when given
};

RatingNumbers readRatingNumbers(const RatingCommand& c) {
    RatingNumbers n;
    n.rating.power = readOption(c.power);
    n.rating.hvVoltage = readOption(c.hv);
    n.rating.lvVoltage = readOption(c.lv);
    n.rating.frequency = readOption(c.frequency);
    n.rating.fluxDensity = readOption(c.flux);
    if (*c.voltsOption) {
        n.rating.volts.voltsPerTurn = readOption(c.volts);
    } else {
        n.rating.volts.factor = readOption(c.factor);
    }
    n.section.stages = readStages(c.stages);
    n.section.grid = readOption(c.grid);
    n.section.diameterStep = readOption(c.step);
    n.section.minWidth = readOption(c.minWidth);
    n.section.stackingFactor = readOption(c.stackingFactor);
    if (*c.rounding) {
        n.section.stackRound = readOption(c.stackRound);
    }
    const std::array<const OptionText*, 3> frameTexts = {&c.windowHeight, &c.centreDistance,
                                                         &c.limbs};
    for (std::size_t k = 0; k < frameTexts.size(); ++k) {
        if (*c.frameOptions[k]) {
            n.frame[k] = readOption(*frameTexts[k]);
        }
    }
    return n;
}

constexpr std::array kFrameInputs = {DesignInput::WindowHeight, DesignInput::CentreDistance,
                                     DesignInput::Limbs};

// The whole chain, the connection read first; refusals name the option.
rating::RatedCore rateOf(const RatingCommand& c, RatingNumbers& n,
                         std::span<const InputSource> sources) {
    return ask(
        [&] {
            n.rating.connection = rating::readConnection(c.connection.text);
            checkGivenStackRound(c.rounding->count() > 0, n.section.stackRound);
            for (std::size_t k = 0; k < kFrameInputs.size(); ++k) {
                if (n.frame[k]) {
                    checkInput(kFrameInputs[k], *n.frame[k]);
                }
            }
            return rating::rateCore(n.rating, n.section);
        },
        sources);
}

std::string chainLines(const rating::RatedCore& rated) {
    const rating::Turns& t = rated.turns;
    std::string widths;
    for (const double width : rated.core.widths) {
        widths += (widths.empty() ? "" : " ") + writeShortest(width);
    }
    std::string lines = "hv_phase_voltage=" + writeShortest(t.hvPhaseVoltage) + "\n" +
                        "lv_phase_voltage=" + writeShortest(t.lvPhaseVoltage) + "\n" +
                        "volts_per_turn=" + writeShortest(t.voltsPerTurn) + "\n" +
                        "lv_turns=" + std::to_string(t.lvTurns) + "\n" +
                        "hv_turns=" + std::to_string(t.hvTurns) + "\n" +
                        "ratio_error_percent=" + writeShortest(t.ratioErrorPercent) + "\n" +
                        "net_area_required=" + writeShortest(t.netAreaRequired) + "\n" +
                        "diameter=" + writeShortest(rated.core.diameter) + "\n" +
                        "widths=" + widths + "\n" + "net_area=" + writeShortest(rated.netArea) +
                        "\n" + "flux_density=" + writeShortest(rated.fluxDensity) + "\n";
    if (t.ratioBeyondTolerance) {
        lines += "ratio_error_flag=beyond-0.5%\n";
    }
    return lines;
}

std::string sheetLines(const rating::RatedCore& rated, const RatingCommand& c,
                       const RatingNumbers& n) {
    std::string lines;
    appendSheetStart(rated.core, &c.stackingFactor.text, lines);
    for (std::size_t k = 0; k < kFrameInputs.size(); ++k) {
        if (n.frame[k]) {
            lines += std::string(fieldName(*definitionOf(kFrameInputs[k]).field)) + "=" +
                     writeDefault(*n.frame[k]) + "\n";
        }
    }
    return lines;
}

// The chain in words, for standard error.
std::string summaryOf(const rating::RatedCore& rated, const RatingCommand& c,
                      const RatingNumbers& n) {
    const rating::Turns& t = rated.turns;
    std::string summary =
        c.power.text + " kVA, " + c.hv.text + "/" + c.lv.text + " kV, " + c.connection.text + ", " +
        c.frequency.text + " Hz: " + std::to_string(t.hvTurns) + " HV and " +
        std::to_string(t.lvTurns) + " LV turns at " + twoDecimals(t.voltsPerTurn) +
        " V per turn, ratio error " + twoDecimals(t.ratioErrorPercent) + " %\n" + "net area " +
        twoDecimals(t.netAreaRequired) + " cm\u00B2 at " + c.flux.text +
        " T: D = " + writeDefault(rated.core.diameter) + " mm, " +
        std::to_string(rated.core.widths.size()) + " stages on a " + c.grid.text +
        " mm grid, net area " + (n.section.stackRound != 0 ? "as cut " : "") +
        twoDecimals(rated.netArea) + " cm\u00B2, " + twoDecimals(rated.fluxDensity) + " T\n";
    if (t.ratioBeyondTolerance) {
        summary += "the ratio error " + writeDefault(t.ratioErrorPercent) +
                   " % is beyond the usual 0.5 % tolerance on the voltage ratio\n";
    }
    return summary;
}

}  // namespace

int runRating(const std::vector<std::string>& args, std::string& output, std::string& diagnostics) {
    CLI::App app(
        "From a three-phase transformer's rating to its turns, the net area the flux density "
        "asks for, and the smallest core that has it.",
        "kalvitra-cli rating");
    app.footer(kRatingFooter);
    RatingCommand command;
    declareRatingOptions(app, command);
    if (const auto status = parseOptions(app, args, output, diagnostics)) {
        return *status;
    }
    const std::vector<InputSource> sources = ratingSources(command);
    RatingNumbers numbers = readRatingNumbers(command);
    const rating::RatedCore rated = rateOf(command, numbers, sources);
    output += command.sheet ? sheetLines(rated, command, numbers) : chainLines(rated);
    diagnostics += summaryOf(rated, command, numbers);
    return kExitSuccess;
}

}  // namespace kalvitra::cli
