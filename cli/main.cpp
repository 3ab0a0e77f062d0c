// kalvitra-cli: runs the core calculations on sheets read from standard input,
// and answers the design questions (widths, diameter, section).

#include <CLI/CLI.hpp>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "batch.h"
#include "byte_stream.h"
#include "command_options.h"
#include "design_commands.h"
#include "kalvitra/sheet/actions.h"
#include "kalvitra/text/utf8.h"
#include "platform.h"

namespace {

using namespace kalvitra;
using namespace kalvitra::cli;

constexpr const char* kDescription =
    "Runs the Kalvitra core calculations on one sheet, or on a CSV table of sheets, read from\n"
    "standard input, and writes the sheets with their results to standard output.\n"
    "Or, with a COMMAND first, answers a design or workshop question: kalvitra-cli COMMAND\n"
    "[OPTIONS] (see COMMANDS).";

constexpr const char* kFooter = R"(ACTIONS (run in the order given; at least one is required):
  stages      stage thicknesses jh1..jh9 and the second column jh22..jh92
  gross-area  gross cross-section area txmj (cm2)
  net-area    net cross-section area txjmj (cm2), from txmj and dpxs
  stack       total stack thickness dh (mm)
  weight      core weight txz (kg)

SHEET INPUT (default): UTF-8 lines NAME=TEXT. NAME is one of the 39 field names, case-sensitive:
  Text1 Text2 TXJS D H M Z MD dpxs PK1..PK9 jh1..jh9 jh22..jh92 txmj txjmj dh txz
TEXT is everything after the first '=', possibly empty. A carriage return before the line feed
is dropped; lines that are empty or hold only blanks are ignored; a byte order mark at the start
is skipped. Fields not given keep their initial text (all empty, MD = 7.65). Output: all 39
fields as NAME=TEXT lines in the order above.

CSV INPUT (--csv): RFC 4180, UTF-8 (byte order mark optional), LF or CRLF line ends. The header
row names any of the 39 fields, in any order, each at most once, by its name or by its Chinese
label: the name the calculator window gives the field, its captions without the colon (the
labels --header zh writes). Every further row is one sheet that starts from the initial sheet.
Empty lines are skipped (write "" for an empty value in a one-column table); the line break after
the last row is optional; an empty input, without even a header, is an error. Output: a header
of the 39 field names plus "error" (with --header zh the labels and the Chinese for error; with
--bom a byte order mark first, for Excel), then one row per input row with its sheet after the
actions and, in "error", the kind of the error that stopped it (empty when none). Fields holding
a comma, quote, CR or LF are quoted. Lines end with LF. Rows stream through: the rows before a
malformed line have already been written when the tool stops there. A table that is not UTF-8
(a spreadsheet's plain "CSV" on a Chinese desktop is GBK) is refused before any row is written
when its first 64 KiB show it: save it as "CSV UTF-8". A bad byte further on stops the table at
its row, as a malformed line does, and says how many rows were already written.

WARNINGS (--strict): the actions read every field as the calculator window does, leniently: a
number is read up to the first character that is not part of one, and no digit at all reads as
0. So 120mm reads as 120, 1 000 as 1000, 0,96 as 0 (the comma ends the number), full-width
digits as 0, and an empty field as 0. The results stay exactly as the actions give them, and so
do standard output and the exit status, but standard error gets a line for each field an action
reads that is not one plain number; for each empty D, H, M, Z, MD or dpxs an action reads; for
each empty field of a stage up to the last width given (the rows after it are empty by design);
and where the widths do not decrease from stage to stage or a stage is skipped (PK2 empty, PK3
given), since the thicknesses then come out negative. Fields an earlier action writes are not
looked at. Each line names the field, its text and the value used; in a table, the input line:
  warning: D: "200mm" read as 200
  warning: line 3: dpxs: "0,96" read as 0 (a comma ends a number: use a decimal point)
With --strict each is an error, "error: lenient-input: ...": the sheet is written as read,
without running the actions, with exit status 1; in a table the row's error column says
lenient-input, and the other rows run.

)";

// After the list of commands.
constexpr const char* kFooterEnd = R"(EXIT STATUS:
  0  every action of every sheet succeeded; a COMMAND succeeded
  1  an action failed: the sheet is still written as it stands (fields written before the error
     keep their new text) and "error: KIND: MESSAGE" goes to standard error, KIND one of
     type-mismatch, overflow, division-by-zero, invalid-operation, invalid-argument; or, with
     --strict, the sheet was read leniently (KIND lenient-input, see WARNINGS). With --csv
     the other rows still run, the error column names each row's KIND, and standard error
     gets one line with the number of failed rows and the first failure.
  2  bad command line or bad input (unknown action or option, unknown field or column, a line
     without '=', a field given twice, invalid UTF-8, malformed CSV), or input or output failed.
     A one-line message with the input line number goes to standard error; in the sheet mode
     nothing goes to standard output.
  A COMMAND's exit status and messages are in its own help.

EXAMPLES:
  printf 'D=200\nPK1=190\nPK2=175\nPK3=155\nPK4=130\nPK5=100\nPK6=65\ndpxs=0.96\n' |
    kalvitra-cli stages gross-area net-area stack
  kalvitra-cli widths --diameter 200 --stages 6 --grid 5 | kalvitra-cli stages gross-area
  kalvitra-cli diameter --net-area 1000 --stacking-factor 0.96 --stages 9
  kalvitra-cli widths --diameter 200 --stages 6 --grid 5 | kalvitra-cli section > section.svg
  kalvitra-cli cutlist --stack-round 2 --sheet-thickness 0.27 < core.kvs > cutlist.csv

FILES:
  A sheet kept in a file is suggested the extension .kvs (Kalvitra sheet).)";

// The help names the actions in its own words (ACTIONS in the footer), so
// CLI11's list of positionals, "ACTION TEXT ... REQUIRED", is left out, and
// so is the "Needs: --csv" it would put beside a flag; the descriptions say
// it. At least one action is required, though the tool, not CLI11, says so.
class HelpFormatter final : public CLI::Formatter {
public:
    std::string make_usage(const CLI::App*, std::string name) const override {
        return get_label("Usage") + ": " + name + " [OPTIONS] ACTION...\n";
    }
    std::string make_positionals(const CLI::App*) const override { return {}; }
    std::string make_option_opts(const CLI::Option* option) const override {
        return option->get_items_expected_max() == 0 ? std::string()
                                                     : CLI::Formatter::make_option_opts(option);
    }
};

std::string actionNameList() {
    std::string list;
    for (const Action action : kAllActions) {
        list += list.empty() ? "" : ", ";
        list += actionName(action);
    }
    return list;
}

// Runs body on the standard streams. Input or output that fails is bad
// input; the messages go to standard error once the body is done.
template <typename Body>
int withStandardStreams(Body body) {
    FileSource input(stdin, "standard input");
    FileSink output(stdout, "standard output");
    std::string diagnostics;
    int status = kExitSuccess;
    try {
        status = body(input, output, diagnostics);
    } catch (const std::exception& error) {
        diagnostics += std::string("kalvitra-cli: ") + error.what() + '\n';
        status = kExitBadInput;
    }
    std::fwrite(diagnostics.data(), 1, diagnostics.size(), stderr);
    return status;
}

// Writes text to output and flushes it.
void writeOut(ByteSink& output, std::string_view text) {
    output.write(text);
    output.flush();
}

// The command line of the sheet and table mode, as given.
struct BatchCommand {
    bool csvMode = false;
    BatchOptions options;
    std::string headerWords = "names";
    std::vector<std::string> actionNames;
};

// The help's description, version and footer.
void describeTool(CLI::App& app) {
    app.set_version_flag("--version", std::string("kalvitra-cli ") + KALVITRA_CLI_VERSION,
                         "Print the version and exit");
    app.footer(std::string(kFooter) +
               "COMMANDS (the first argument; each has its own help: kalvitra-cli COMMAND "
               "--help):\n" +
               designCommandList() +
               "  A number in an option must be one plain finite number with a decimal point:\n"
               "  --diameter 200,5 is refused (\"use a decimal point\"), not read as 2005.\n\n" +
               kFooterEnd);
    app.formatter(std::make_shared<HelpFormatter>());
}

// Declares the options and the actions on app, each bound to its place in
// command.
void declareBatchOptions(CLI::App& app, BatchCommand& command) {
    CLI::Option* csvOption = app.add_flag(
        "--csv", command.csvMode, "Read a CSV table of sheets instead of one NAME=TEXT sheet");
    app.add_flag("--strict", command.options.strict,
                 "Refuse, not warn about, a sheet read leniently (see WARNINGS)");
    app.add_option("--header", command.headerWords,
                   "With --csv: output header of field names (default) or Chinese labels")
        ->check(CLI::IsMember({"names", "zh"}))
        ->needs(csvOption)
        ->option_text("names|zh");
    app.add_flag("--bom", command.options.byteOrderMark,
                 "With --csv: start the output with a byte order mark, for Excel")
        ->needs(csvOption);

    const CLI::Validator knownAction(
        [](std::string& name) -> std::string {
            if (actionByName(name)) {
                return {};
            }
            return "unknown action " + quoteForMessage(name) + " (known: " + actionNameList() + ")";
        },
        "", "action");
    app.add_option("ACTION", command.actionNames, "Calculations to run, in order")
        ->check(knownAction);
}

// Parses the arguments after the program's name with app: the status to exit
// with when that ends the run (help, a usage error, no action), with the
// help in helpText and the refusal in refusal; nullopt to carry on.
std::optional<int> parseBatchLine(CLI::App& app, const std::vector<std::string>& arguments,
                                  const BatchCommand& command, std::string& helpText,
                                  std::string& refusal) {
    std::optional<int> status;
    try {
        status = parseOptions(app, {arguments.begin() + 1, arguments.end()}, helpText, refusal);
        if (!status && command.actionNames.empty()) {
            refusal = "kalvitra-cli: no ACTION given; name at least one of " + actionNameList() +
                      "; see kalvitra-cli --help\n";
            status = kExitBadInput;
        }
    } catch (const Refusal& problem) {
        refusal = std::string("kalvitra-cli: ") + problem.what() + "\n";
        status = kExitBadInput;
    }
    return status;
}

// Runs a design or workshop command (arguments[1]) on the standard streams.
int runCommand(const std::vector<std::string>& arguments) {
    const std::vector<std::string> args(arguments.begin() + 2, arguments.end());
    return withStandardStreams([&](ByteSource& input, ByteSink& output, std::string& log) {
        std::string text;
        const int status = runDesignCommand(arguments[1], args, input, text, log);
        writeOut(output, text);
        return status;
    });
}

// Runs the actions of a parsed command line on the sheet or the table on
// standard input.
int runBatch(BatchCommand& command) {
    command.options.header =
        command.headerWords == "zh" ? HeaderWords::ChineseLabels : HeaderWords::FieldNames;

    std::vector<Action> actions;
    for (const std::string& name : command.actionNames) {
        actions.push_back(*actionByName(name));
    }

    return withStandardStreams([&](ByteSource& input, ByteSink& output, std::string& log) {
        if (command.csvMode) {
            FileSink messages(stderr, "standard error");
            command.options.messages = &messages;
            return runCsvBatch(input, output, actions, log, command.options);
        }
        std::string sheetText;
        const int result = runSheetBatch(readAll(input), actions, sheetText, log, command.options);
        writeOut(output, sheetText);
        return result;
    });
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments;
    try {
        useBinaryStandardStreams();
        arguments = utf8Arguments(argc, argv);
    } catch (const std::exception& error) {
        std::fputs((std::string("kalvitra-cli: ") + error.what() + '\n').c_str(), stderr);
        return kExitBadInput;
    }
    if (arguments.empty()) {
        arguments.emplace_back("kalvitra-cli");  // started without even a program name
    }

    if (arguments.size() > 1 && isDesignCommand(arguments[1])) {
        return runCommand(arguments);
    }

    CLI::App app(kDescription, "kalvitra-cli");
    describeTool(app);
    BatchCommand command;
    declareBatchOptions(app, command);

    std::string helpText;
    std::string refusal;
    if (const std::optional<int> status =
            parseBatchLine(app, arguments, command, helpText, refusal)) {
        return withStandardStreams([&](ByteSource&, ByteSink& output, std::string& log) {
            writeOut(output, helpText);
            log += refusal;
            return *status;
        });
    }
    return runBatch(command);
}
