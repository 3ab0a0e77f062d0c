// kalvitra-cli: runs the core calculations on sheets read from standard input,
// and answers the design questions (widths, diameter, section).

#include <CLI/CLI.hpp>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "batch.h"
#include "byte_stream.h"
#include "design_commands.h"
#include "kalvitra/actions.h"
#include "kalvitra/utf8.h"
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
row names any of the 39 fields, in any order, each at most once. Every further row is one sheet
that starts from the initial sheet. Empty lines are skipped (write "" for an empty value in a
one-column table); the line break after the last row is optional; an empty input, without even
a header, is an error. Output: a header of the 39 fields plus "error", then one row per input
row with its sheet after the actions and, in "error", the kind of the error that stopped it
(empty when none). Fields holding a comma, quote, CR or LF are quoted. Lines end with LF.
Rows stream through: the rows before a malformed line have already been written when the tool
stops there.

)";

// After the list of commands.
constexpr const char* kFooterEnd = R"(EXIT STATUS:
  0  every action of every sheet succeeded; a COMMAND succeeded
  1  an action failed: the sheet is still written as it stands (fields written before the error
     keep their new text) and "error: KIND: MESSAGE" goes to standard error, KIND one of
     type-mismatch, overflow, division-by-zero, invalid-operation, invalid-argument. With --csv
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
        const std::vector<std::string> args(arguments.begin() + 2, arguments.end());
        return withStandardStreams([&](ByteSource& input, ByteSink& output, std::string& log) {
            std::string text;
            const int status = runDesignCommand(arguments[1], args, input, text, log);
            writeOut(output, text);
            return status;
        });
    }

    CLI::App app(kDescription, "kalvitra-cli");
    // The same command line means the same thing on every system: "/csv" is
    // an unknown action on Windows too, not the option --csv.
    app.allow_windows_style_options(false);
    app.set_version_flag("--version", std::string("kalvitra-cli ") + KALVITRA_CLI_VERSION,
                         "Print the version and exit");
    app.set_help_flag("-h,--help", "Print this help and exit");
    app.footer(std::string(kFooter) +
               "COMMANDS (the first argument; each has its own help: kalvitra-cli COMMAND "
               "--help):\n" +
               designCommandList() + "\n" + kFooterEnd);

    bool csvMode = false;
    app.add_flag("--csv", csvMode, "Read a CSV table of sheets instead of one NAME=TEXT sheet");

    std::vector<std::string> actionNames;
    const CLI::Validator knownAction(
        [](std::string& name) -> std::string {
            if (actionByName(name)) {
                return {};
            }
            return "unknown action " + quoteForMessage(name) + " (known: " + actionNameList() + ")";
        },
        "", "action");
    app.add_option("ACTION", actionNames, "Calculations to run, in order")
        ->required()
        ->check(knownAction);

    // CLI11 reports usage errors with exit codes of its own; the tool's
    // contract has one status for every bad invocation.
    app.failure_message([](const CLI::App*, const CLI::Error& error) {
        const std::string problem =
            error.get_name() == "RequiredError"
                ? "no ACTION given; name at least one of " + actionNameList()
                : std::string(error.what());
        return "kalvitra-cli: " + problem + "; see kalvitra-cli --help\n";
    });
    std::vector<const char*> argumentPointers;
    for (const std::string& argument : arguments) {
        argumentPointers.push_back(argument.c_str());
    }
    try {
        app.parse(static_cast<int>(argumentPointers.size()), argumentPointers.data());
    } catch (const CLI::ParseError& error) {
        const int status = app.exit(error);
        return status == static_cast<int>(CLI::ExitCodes::Success) ? kExitSuccess : kExitBadInput;
    }

    std::vector<Action> actions;
    for (const std::string& name : actionNames) {
        actions.push_back(*actionByName(name));
    }

    return withStandardStreams([&](ByteSource& input, ByteSink& output, std::string& log) {
        if (csvMode) {
            return runCsvBatch(input, output, actions, log);
        }
        std::string sheetText;
        const int status = runSheetBatch(readAll(input), actions, sheetText, log);
        writeOut(output, sheetText);
        return status;
    });
}
