#include "design_commands.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <optional>
#include <span>

#include "batch.h"
#include "command_inputs.h"
#include "command_options.h"
#include "kalvitra/design/best_widths.h"
#include "kalvitra/drawing/dxf.h"
#include "kalvitra/drawing/section_drawing.h"
#include "kalvitra/inputs/catalogue.h"
#include "kalvitra/sheet/actions.h"
#include "kalvitra/sheet/errors.h"
#include "kalvitra/sheet/sheet_text.h"
#include "kalvitra/text/numbers.h"
#include "kalvitra/text/utf8.h"
#include "kalvitra/workshop/cut_list.h"
#include "rating_command.h"
#include "workshop_commands.h"

namespace kalvitra::cli {

using design::StepWidths;

void appendSheetStart(const StepWidths& found, const std::string* stackingFactorText,
                      std::string& out) {
    out += "D=" + writeDefault(found.diameter) + "\n";
    if (stackingFactorText) {
        out += "dpxs=" + *stackingFactorText + "\n";
    }
    for (std::size_t k = 0; k < found.widths.size(); ++k) {
        out += std::string(fieldName(widthField(static_cast<int>(k) + 1))) + "=" +
               writeDefault(found.widths[k]) + "\n";
    }
}

namespace {

// Two lines for the designer: what was found, and its figures.
void appendSummary(const StepWidths& found, std::string_view what,
                   std::optional<double> stackingFactor, const std::string& stackingFactorText,
                   std::string& diagnostics) {
    const std::size_t stages = found.widths.size();
    diagnostics += std::to_string(stages) + (stages == 1 ? " stage" : " stages") + ", " +
                   std::string(what) + "\n";
    diagnostics += "ideal gross area " + twoDecimals(found.grossArea / 100.0) + " cm\u00B2";
    if (stackingFactor) {
        diagnostics += ", net area " +
                       twoDecimals(design::netAreaCm2(found.grossArea, *stackingFactor)) +
                       " cm\u00B2 at stacking factor " + stackingFactorText;
    }
    diagnostics += ", utilisation " +
                   twoDecimals(100.0 * design::utilisation(found.diameter, found.grossArea)) +
                   " %\n";
}

// The summary of a found diameter; with a stack rounding also
// "net area as cut 345.32 cm² with the stacks floored to 2 mm: 46 32 ...".
void appendDiameterSummary(const StepWidths& found, const design::DiameterQuestion& question,
                           const std::string& stackingFactorText, std::string& diagnostics) {
    const bool rounded = question.stackRound != 0;
    appendSummary(found,
                  "widths on a " + writeDefault(question.grid) + " mm grid, D = " +
                      writeDefault(found.diameter) + " mm, the smallest multiple of " +
                      writeDefault(question.diameterStep) + " mm that reaches " +
                      writeDefault(question.netArea) + " cm\u00B2 net" + (rounded ? " as cut" : ""),
                  question.stackingFactor, stackingFactorText, diagnostics);
    if (!rounded) {
        return;
    }
    const workshop::Section section = {found.diameter, found.widths};
    const std::vector<double> stacks = workshop::stepStacks(section, question.stackRound);
    diagnostics += "net area as cut " +
                   twoDecimals(workshop::netArea(section, stacks, question.stackingFactor) / 100) +
                   " cm\u00B2 with the stacks floored to " + writeDefault(question.stackRound) +
                   " mm:";
    for (const double stack : stacks) {
        diagnostics += " " + writeDefault(stack);
    }
    diagnostics += "\n";
}

// ---- the three commands ---------------------------------------------------

constexpr const char* kWidthsFooter =
    R"(Every corner of every stage lies on the circle of diameter D: with widths w1 > w2 > ... and
h_k = sqrt(D^2 - w_k^2), the ideal gross area is the sum of w_k (h_k - h_(k-1)), h_0 = 0, and
the utilisation is that area over pi D^2/4.
Writes a sheet to standard output: D=, dpxs= when --stacking-factor is given, then
PK1=..PKn= for the stages in use, ready for the actions. Without --grid the widths are the best
of any value, in 15 significant digits, and --min-width only checks the answer: it is refused
when the narrowest best width is below W. With --grid they are multiples of G, at least W and
below D, the exact best of all such sets, with fewer than N stages only when the grid holds
fewer widths; where two sets give the same area to the last bit, the wider width wins stage by
stage. Standard error gets the stages, the ideal gross area (and the net area), and the
utilisation.
A number in an option must be one plain finite number with a decimal point: 200,5 is refused
("use a decimal point"), not read as 2005.
D lies between 1E-100 and 1E+100 mm, and a grid may hold at most 20000 widths below D.
Exit status 0, or 2 with a one-line message and nothing on standard output: a missing required
or unknown option, a number with anything after it, D out of range, N outside 1..9, G <= 0,
W >= D, F outside (0, 1], a grid too coarse for even one stage or too fine to search.

EXAMPLE:
  kalvitra-cli widths --diameter 200 --stages 6 --grid 5 | kalvitra-cli stages gross-area)";

constexpr const char* kDiameterFooter =
    R"(Finds the smallest diameter D, a multiple of S, whose best widths on the grid G reach
the net area A at stacking factor F (ideal gross area x F >= A; see kalvitra-cli widths
--help). With --stack-round R the net area that must reach A is the one as cut, as cutlist
and loss take it: F x sum of w_k s_k with every cumulative height floored to a multiple of R.
Flooring only takes area away, so the diameters are tried one step at a time up from the ideal
answer; one at which a step's stack rounds to 0 is passed over. Writes D=, dpxs= (F exactly as
given) and PK1=..PKn= to standard output; standard error gets the stages, the ideal gross and
net area, and the utilisation, and with R the net area as cut and the stacks.
Exit status 0, or 2 with a one-line message and nothing on standard output: a missing required
or unknown option, a number with anything after it, A <= 0, F outside (0, 1], N outside 1..9,
G <= 0, S <= 0, W < 0, R <= 0, a grid or step too fine for a core of this area, an R so coarse
that a step keeps no stack.

EXAMPLE:
  kalvitra-cli diameter --net-area 1000 --stacking-factor 0.96 --stages 9)";

std::string sectionFooter() {
    return R"(Reads a NAME=TEXT sheet from standard input, runs the actions stages and gross-area on
it, and writes a drawing of the section to standard output: the circle of diameter D, every
packet of every stage, a table of each stage's width and thickness, D, the gross area and the
utilisation, its words in the language of --lang. As SVG (the default): one unit per
millimetre, width and height in mm, so that it prints to scale. As DXF (--format dxf): R12
(AC1009) ASCII for a CAD program, in millimetres with y up and the limb axis at the origin,
the circle of radius D/2, every packet a closed polyline of four vertices, and the labels;
outlines in colour 7, texts in the style GB, the shape font gbenor.shx with the big font
gbcbig.shx, as Chinese drafting has it. Under it all, the title block.
The stages in use are PK1 up to the last width given; they must decrease, and D lies between
1E-100 and 1E+100 mm. Fields read leniently are warned about as for the actions alone (see
kalvitra-cli --help, WARNINGS).
Exit status 0; 1 when an action fails ("error: KIND: MESSAGE" on standard error) or, with
--strict, the sheet was read leniently; 2 for bad input or a section that cannot be drawn. On 1
and 2 nothing goes to standard output.

)" + std::string(kTitleBlockHelp) +
           R"(

EXAMPLE:
  kalvitra-cli widths --diameter 200 --stages 6 --grid 5 | kalvitra-cli section > section.svg
  kalvitra-cli section --format dxf --lang zh --designer 'Li Wei' < core.kvs > section.dxf)";
}

int runWidths(const std::vector<std::string>& args, std::string& output, std::string& diagnostics) {
    CLI::App app("The best stage widths for a core of diameter D mm with N stages.",
                 "kalvitra-cli widths");
    app.footer(kWidthsFooter);
    OptionText diameter = inputOption(DesignInput::Diameter);
    OptionText stages = inputOption(DesignInput::Stages);
    OptionText grid = inputOption(DesignInput::Grid);
    OptionText minWidth = inputOption(DesignInput::MinWidth, "0");
    OptionText stackingFactor = inputOption(DesignInput::StackingFactor);
    addInputOption(app, DesignInput::Diameter, diameter, "Core diameter D in mm (required)")
        ->required();
    addInputOption(app, DesignInput::Stages, stages, "Number of stages N, 1 to 9 (required)")
        ->required();
    CLI::Option* gridOption =
        addInputOption(app, DesignInput::Grid, grid, "Widths are multiples of G mm");
    addInputOption(app, DesignInput::MinWidth, minWidth, "Narrowest width W in mm (default 0)");
    CLI::Option* stackingOption =
        addInputOption(app, DesignInput::StackingFactor, stackingFactor,
                       "Stacking factor F, for the net area and a dpxs= line");
    if (const auto status = parseOptions(app, args, output, diagnostics)) {
        return *status;
    }

    const std::array options = {
        optionSource(DesignInput::Diameter, diameter), optionSource(DesignInput::Stages, stages),
        optionSource(DesignInput::Grid, grid), optionSource(DesignInput::MinWidth, minWidth),
        optionSource(DesignInput::StackingFactor, stackingFactor)};
    const double d = readOption(diameter);
    const int n = readStages(stages);
    const double w = readOption(minWidth);
    std::optional<double> factor;
    if (*stackingOption) {
        factor = readOption(stackingFactor);
        ask([&] { checkInput(DesignInput::StackingFactor, *factor); }, options);
    }
    StepWidths found;
    std::string what;
    if (*gridOption) {
        const double g = readOption(grid);
        found = ask([&] { return design::bestGridWidths(d, n, g, w); }, options);
        what = "widths on a " + writeDefault(g) + " mm grid";
    } else {
        found = ask([&] { return design::bestWidths(d, n, w); }, options);
        what = "continuous widths";
    }
    appendSheetStart(found, factor ? &stackingFactor.text : nullptr, output);
    appendSummary(found, what + ", D = " + writeDefault(d) + " mm", factor, stackingFactor.text,
                  diagnostics);
    return kExitSuccess;
}

int runDiameter(const std::vector<std::string>& args, std::string& output,
                std::string& diagnostics) {
    CLI::App app(
        "The smallest core diameter whose best stage widths reach a net area of A cm2 at "
        "stacking factor F.",
        "kalvitra-cli diameter");
    app.footer(kDiameterFooter);
    OptionText netArea = inputOption(DesignInput::NetArea);
    OptionText stackingFactor = inputOption(DesignInput::StackingFactor);
    OptionText stages = inputOption(DesignInput::Stages);
    OptionText grid = inputOption(DesignInput::Grid, "5");
    OptionText step = inputOption(DesignInput::DiameterStep, "5");
    OptionText minWidth = inputOption(DesignInput::MinWidth, "0");
    OptionText stackRound = inputOption(DesignInput::StackRound);
    addInputOption(app, DesignInput::NetArea, netArea, "Net area A in cm2 to reach (required)")
        ->required();
    addInputOption(app, DesignInput::StackingFactor, stackingFactor,
                   "Stacking factor F, above 0 and at most 1 (required)")
        ->required();
    addInputOption(app, DesignInput::Stages, stages, "Number of stages N, 1 to 9 (required)")
        ->required();
    addInputOption(app, DesignInput::Grid, grid, "Widths are multiples of G mm (default 5)");
    addInputOption(app, DesignInput::DiameterStep, step, "D is a multiple of S mm (default 5)");
    addInputOption(app, DesignInput::MinWidth, minWidth, "Narrowest width W in mm (default 0)");
    CLI::Option* rounding = addInputOption(app, DesignInput::StackRound, stackRound,
                                           "The net area as cut, stacks floored to R mm");
    if (const auto status = parseOptions(app, args, output, diagnostics)) {
        return *status;
    }

    const std::array options = {optionSource(DesignInput::NetArea, netArea),
                                optionSource(DesignInput::StackRound, stackRound),
                                optionSource(DesignInput::StackingFactor, stackingFactor),
                                optionSource(DesignInput::Stages, stages),
                                optionSource(DesignInput::Grid, grid),
                                optionSource(DesignInput::DiameterStep, step),
                                optionSource(DesignInput::MinWidth, minWidth)};
    design::DiameterQuestion question;
    question.netArea = readOption(netArea);
    question.stackingFactor = readOption(stackingFactor);
    question.stages = readStages(stages);
    question.grid = readOption(grid);
    question.diameterStep = readOption(step);
    question.minWidth = readOption(minWidth);
    if (*rounding) {
        question.stackRound = readOption(stackRound);
    }
    const StepWidths found = ask(
        [&] {
            checkGivenStackRound(rounding->count() > 0, question.stackRound);
            return design::smallestDiameter(question);
        },
        options);

    appendSheetStart(found, &stackingFactor.text, output);
    appendDiameterSummary(found, question, stackingFactor.text, diagnostics);
    return kExitSuccess;
}

int runSection(const std::vector<std::string>& args, ByteSource& input, std::string& output,
               std::string& diagnostics) {
    CLI::App app("Draws the section of a sheet to scale, as SVG or DXF.", "kalvitra-cli section");
    app.footer(sectionFooter());
    OptionText format{"--format", "svg"};
    OptionText language{kLanguageOption, "en"};
    app.add_option(std::string(format.name), format.text, "svg (default) or dxf")
        ->option_text("svg|dxf");
    app.add_option(std::string(language.name), language.text, "Words: en (default) or zh")
        ->option_text("en|zh");
    bool strict = false;
    app.add_flag(std::string(kStrictOption), strict,
                 "Refuse, not warn about, a sheet read leniently");
    SignatureOptions signatureOptions;
    addSignatureOptions(app, signatureOptions);
    if (const auto status = parseOptions(app, args, output, diagnostics)) {
        return *status;
    }
    if (format.text != "svg" && format.text != "dxf") {
        throw Refusal{"--format " + quoteForMessage(format.text) +
                      ": the format must be svg or dxf"};
    }
    const drawing::Language words = readLanguage(language);
    const drawing::Signatures signatures = readSignatures(signatureOptions);
    constexpr Action kActions[] = {Action::StageThicknesses, Action::GrossArea};
    const std::optional<Sheet> sheet =
        calculatedSheet(input, kActions, kActions, strict, diagnostics);
    if (!sheet) {
        return kExitCalculationFailed;
    }
    const drawing::SectionDrawing section =
        ask([&] { return drawing::drawSection(*sheet, words, signatures); }, sheetSources());
    output +=
        format.text == "dxf" ? dxf::writeSectionDxf(section) : drawing::writeSectionSvg(section);
    return kExitSuccess;
}

// The commands by name, with what each answers. widths, diameter and rating
// read no standard input.
struct DesignCommand {
    std::string_view name;
    std::string_view summary;
    int (*run)(const std::vector<std::string>& args, ByteSource& input, std::string& output,
               std::string& diagnostics);
};

constexpr DesignCommand kDesignCommands[] = {
    {"widths", "the best stage widths for a core diameter, as a sheet",
     [](const std::vector<std::string>& args, ByteSource&, std::string& output,
        std::string& diagnostics) { return runWidths(args, output, diagnostics); }},
    {"diameter", "the smallest core diameter that reaches a net area, as a sheet",
     [](const std::vector<std::string>& args, ByteSource&, std::string& output,
        std::string& diagnostics) { return runDiameter(args, output, diagnostics); }},
    {"rating", "from a transformer's rating to its turns, net area and core",
     [](const std::vector<std::string>& args, ByteSource&, std::string& output,
        std::string& diagnostics) { return runRating(args, output, diagnostics); }},
    {"section", "a drawing of a sheet's section to scale, SVG or DXF", runSection},
    {"cutlist", "what to cut per step of a sheet's core, with sheets and masses, as CSV (and DXF)",
     runCutList},
    {"loss", "the no-load loss of a core from a grade's loss curve", runLoss},
};

const DesignCommand* findDesignCommand(std::string_view word) {
    for (const DesignCommand& command : kDesignCommands) {
        if (command.name == word) {
            return &command;
        }
    }
    return nullptr;
}

}  // namespace

bool isDesignCommand(std::string_view word) {
    return findDesignCommand(word) != nullptr;
}

std::string designCommandList() {
    std::string list;
    for (const DesignCommand& command : kDesignCommands) {
        list += "  " + std::string(command.name) +
                std::string(10 - std::min<std::size_t>(command.name.size(), 9), ' ') +
                std::string(command.summary) + "\n";
    }
    return list;
}

int runDesignCommand(std::string_view command, const std::vector<std::string>& args,
                     ByteSource& input, std::string& output, std::string& diagnostics) {
    std::string text;
    std::string said;
    try {
        const DesignCommand* found = findDesignCommand(command);
        if (found == nullptr) {
            throw Refusal{"unknown command " + quoteForMessage(command)};
        }
        const int status = found->run(args, input, text, said);
        if (status == kExitSuccess) {
            output += text;
        }
        diagnostics += said;
        return status;
    } catch (const Refusal& refusal) {
        // A refusal is the one line: warnings about the input it refuses
        // would only say the same again.
        diagnostics += "kalvitra-cli " + std::string(command) + ": " + refusal.what() + "\n";
        return kExitBadInput;
    }
}

}  // namespace kalvitra::cli
