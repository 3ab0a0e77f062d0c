#include "design_commands.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <optional>
#include <span>

#include "batch.h"
#include "command_options.h"
#include "kalvitra/actions.h"
#include "kalvitra/design.h"
#include "kalvitra/errors.h"
#include "kalvitra/numbers.h"
#include "kalvitra/sheet_text.h"
#include "kalvitra/utf8.h"
#include "section_svg.h"

namespace kalvitra::cli {
namespace {

using design::Design;
using design::DesignError;
using design::DesignInput;

constexpr std::string_view kDiameter = "--diameter";
constexpr std::string_view kStages = "--stages";
constexpr std::string_view kGrid = "--grid";
constexpr std::string_view kMinWidth = "--min-width";
constexpr std::string_view kNetArea = "--net-area";
constexpr std::string_view kStackingFactor = "--stacking-factor";
constexpr std::string_view kDiameterStep = "--diameter-step";

std::string_view optionOf(DesignInput input) {
    switch (input) {
        case DesignInput::Diameter:
            return kDiameter;
        case DesignInput::Stages:
            return kStages;
        case DesignInput::Grid:
            return kGrid;
        case DesignInput::MinWidth:
            return kMinWidth;
        case DesignInput::NetArea:
            return kNetArea;
        case DesignInput::StackingFactor:
            return kStackingFactor;
        case DesignInput::DiameterStep:
            return kDiameterStep;
    }
    return "";
}

// Runs a design question; its refusal names the option and the text given.
template <typename Question>
Design ask(Question question, std::span<const OptionText> options) {
    try {
        return question();
    } catch (const DesignError& error) {
        const std::string_view name = optionOf(error.input());
        for (const OptionText& option : options) {
            if (option.name == name) {
                throw Refusal{std::string(name) + " " + quoteForMessage(option.text) + ": " +
                              error.what()};
            }
        }
        throw Refusal{std::string(name) + ": " + error.what()};
    }
}

void appendSheetStart(const Design& found, const std::string* stackingFactorText,
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

// Two lines for the designer: what was found, and its figures.
void appendSummary(const Design& found, std::string_view what, std::optional<double> stackingFactor,
                   const std::string& stackingFactorText, std::string& diagnostics) {
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

// ---- the three commands ---------------------------------------------------

constexpr const char* kWidthsFooter =
    R"(Writes a sheet to standard output: D=, dpxs= when --stacking-factor is given, then
PK1=..PKn= for the stages in use, ready for the actions. Without --grid the widths are the best
of any value, in 15 significant digits; with --grid they are multiples of G, at least W and below
D, giving the largest ideal gross area of all such sets, and as many stages as the grid allows
up to N. Standard error gets the stages, the ideal gross area (and the net area), and the
utilisation. Exit status 0, or 2 with a one-line message and nothing on standard output.

EXAMPLE:
  kalvitra-cli widths --diameter 200 --stages 6 --grid 5 | kalvitra-cli stages gross-area)";

constexpr const char* kDiameterFooter =
    R"(Finds the smallest diameter D, a multiple of S, whose best widths on the grid G reach
the net area A at stacking factor F (ideal gross area x F >= A). Writes D=, dpxs= (F exactly as
given) and PK1=..PKn= to standard output; standard error gets the stages, the ideal gross and
net area, and the utilisation. Exit status 0, or 2 with a one-line message and nothing on
standard output.

EXAMPLE:
  kalvitra-cli diameter --net-area 1000 --stacking-factor 0.96 --stages 9)";

constexpr const char* kSectionFooter =
    R"(Reads a NAME=TEXT sheet from standard input, runs the actions stages and gross-area on
it, and writes an SVG drawing of the section to standard output: one unit per millimetre (width
and height in mm, so it prints to scale), the circle of diameter D, every packet of every stage,
a table of each stage's width and thickness, D, the gross area and the utilisation. The stages
in use are PK1 up to the last width given; they must decrease. Fields read leniently are warned
about as for the actions alone (see kalvitra-cli --help, WARNINGS).
Exit status 0; 1 when an action fails ("error: KIND: MESSAGE" on standard error) or, with
--strict, the sheet was read leniently; 2 for bad input or a section that cannot be drawn. On 1
and 2 nothing goes to standard output.

EXAMPLE:
  kalvitra-cli widths --diameter 200 --stages 6 --grid 5 | kalvitra-cli section > section.svg)";

int runWidths(const std::vector<std::string>& args, std::string& output, std::string& diagnostics) {
    CLI::App app("The best stage widths for a core of diameter D mm with N stages.",
                 "kalvitra-cli widths");
    app.footer(kWidthsFooter);
    OptionText diameter{kDiameter, ""};
    OptionText stages{kStages, ""};
    OptionText grid{kGrid, ""};
    OptionText minWidth{kMinWidth, "0"};
    OptionText stackingFactor{kStackingFactor, ""};
    app.add_option(std::string(kDiameter), diameter.text, "Core diameter D in mm (required)")
        ->required()
        ->option_text("D");
    app.add_option(std::string(kStages), stages.text, "Number of stages N, 1 to 9 (required)")
        ->required()
        ->option_text("N");
    CLI::Option* gridOption =
        app.add_option(std::string(kGrid), grid.text, "Widths are multiples of G mm")
            ->option_text("G");
    app.add_option(std::string(kMinWidth), minWidth.text, "Narrowest width W in mm (default 0)")
        ->option_text("W");
    CLI::Option* stackingOption =
        app.add_option(std::string(kStackingFactor), stackingFactor.text,
                       "Stacking factor F, for the net area and a dpxs= line")
            ->option_text("F");
    if (const auto status = parseOptions(app, args, output, diagnostics)) {
        return *status;
    }

    const std::array options = {diameter, stages, grid, minWidth, stackingFactor};
    const double d = readOption(diameter);
    const int n = readStages(stages);
    const double w = readOption(minWidth);
    std::optional<double> factor;
    if (*stackingOption) {
        factor = readOption(stackingFactor);
        if (!(*factor > 0 && *factor <= 1)) {
            throw Refusal{std::string(kStackingFactor) + " " +
                          quoteForMessage(stackingFactor.text) +
                          ": the stacking factor must be a number greater than 0 and at most 1"};
        }
    }
    Design found;
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
    OptionText netArea{kNetArea, ""};
    OptionText stackingFactor{kStackingFactor, ""};
    OptionText stages{kStages, ""};
    OptionText grid{kGrid, "5"};
    OptionText step{kDiameterStep, "5"};
    OptionText minWidth{kMinWidth, "0"};
    app.add_option(std::string(kNetArea), netArea.text, "Net area A in cm2 to reach (required)")
        ->required()
        ->option_text("A");
    app.add_option(std::string(kStackingFactor), stackingFactor.text,
                   "Stacking factor F, above 0 and at most 1 (required)")
        ->required()
        ->option_text("F");
    app.add_option(std::string(kStages), stages.text, "Number of stages N, 1 to 9 (required)")
        ->required()
        ->option_text("N");
    app.add_option(std::string(kGrid), grid.text, "Widths are multiples of G mm (default 5)")
        ->option_text("G");
    app.add_option(std::string(kDiameterStep), step.text, "D is a multiple of S mm (default 5)")
        ->option_text("S");
    app.add_option(std::string(kMinWidth), minWidth.text, "Narrowest width W in mm (default 0)")
        ->option_text("W");
    if (const auto status = parseOptions(app, args, output, diagnostics)) {
        return *status;
    }

    const std::array options = {netArea, stackingFactor, stages, grid, step, minWidth};
    design::DiameterQuestion question;
    question.netArea = readOption(netArea);
    question.stackingFactor = readOption(stackingFactor);
    question.stages = readStages(stages);
    question.grid = readOption(grid);
    question.diameterStep = readOption(step);
    question.minWidth = readOption(minWidth);
    const Design found = ask([&] { return design::smallestDiameter(question); }, options);

    appendSheetStart(found, &stackingFactor.text, output);
    appendSummary(found,
                  "widths on a " + writeDefault(question.grid) +
                      " mm grid, D = " + writeDefault(found.diameter) +
                      " mm, the smallest multiple of " + writeDefault(question.diameterStep) +
                      " mm that reaches " + writeDefault(question.netArea) + " cm\u00B2 net",
                  question.stackingFactor, stackingFactor.text, diagnostics);
    return kExitSuccess;
}

int runSection(const std::vector<std::string>& args, ByteSource& input, std::string& output,
               std::string& diagnostics) {
    CLI::App app("Draws the section of a sheet to scale as SVG.", "kalvitra-cli section");
    app.footer(kSectionFooter);
    bool strict = false;
    app.add_flag("--strict", strict, "Refuse, not warn about, a sheet read leniently");
    if (const auto status = parseOptions(app, args, output, diagnostics)) {
        return *status;
    }
    Sheet sheet;
    if (const std::optional<SheetTextError> problem = readSheetLines(readAll(input), sheet)) {
        throw Refusal{problem->describe()};
    }
    constexpr std::array actions = {Action::StageThicknesses, Action::GrossArea};
    if (reportLenientReadings(sheet, actions, strict, 0, diagnostics)) {
        return kExitCalculationFailed;
    }
    try {
        for (const Action action : actions) {
            runAction(action, sheet);
        }
    } catch (const CalcError& error) {
        diagnostics += describeCalcError(error) + "\n";
        return kExitCalculationFailed;
    }
    SectionDrawing drawing;
    if (const std::optional<std::string> problem = sectionOfSheet(sheet, drawing)) {
        throw Refusal{*problem};
    }
    output += writeSectionSvg(drawing);
    return kExitSuccess;
}

// The commands by name. widths and diameter read no standard input.
struct DesignCommand {
    std::string_view name;
    int (*run)(const std::vector<std::string>& args, ByteSource& input, std::string& output,
               std::string& diagnostics);
};

constexpr DesignCommand kDesignCommands[] = {
    {"widths", [](const std::vector<std::string>& args, ByteSource&, std::string& output,
                  std::string& diagnostics) { return runWidths(args, output, diagnostics); }},
    {"diameter", [](const std::vector<std::string>& args, ByteSource&, std::string& output,
                    std::string& diagnostics) { return runDiameter(args, output, diagnostics); }},
    {"section", runSection},
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

int runDesignCommand(std::string_view command, const std::vector<std::string>& args,
                     ByteSource& input, std::string& output, std::string& diagnostics) {
    std::string text;
    try {
        const DesignCommand* found = findDesignCommand(command);
        if (found == nullptr) {
            throw Refusal{"unknown command " + quoteForMessage(command)};
        }
        const int status = found->run(args, input, text, diagnostics);
        if (status == kExitSuccess) {
            output += text;
        }
        return status;
    } catch (const Refusal& refusal) {
        diagnostics += "kalvitra-cli " + std::string(command) + ": " + refusal.message + "\n";
        return kExitBadInput;
    }
}

}  // namespace kalvitra::cli
