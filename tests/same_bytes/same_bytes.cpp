// Runs the batch tool on a fixed, seeded series of random inputs and command
// lines and writes everything it sees, input and output bytes and exit
// status, into one transcript. The same program built for Linux and for
// Windows must write the same transcript byte for byte; the script next to
// it compares the two.
//
//   kalvitra_same_bytes TRANSCRIPT [SEED]

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "csv.h"
#include "random_inputs.h"
#include "tool_process.h"

namespace {

using kalvitra::testing::RandomInputs;
using kalvitra::testing::ToolRun;

enum class Input { None, Sheet, CsvTable, Bytes };

// One kind of command line. Placeholders in its arguments are filled anew on
// every run: an argument "{actions}" becomes one to six action names, and
// "{number}" and "{word}" anywhere in an argument become a number text or a
// word a user might type (valid UTF-8 always: Windows passes nothing else).
// "{diameter}", "{stages}", "{grid}", "{area}" and "{factor}" become values a
// designer would give the design commands, "{power}", "{hv}", "{lv}" and
// "{connection}" a rating, and "{round}", "{thickness}", "{flux}", "{volts}",
// "{grade}", "{lang}", "{joints}", "{guarantee}" and "{current}" values for
// the workshop commands, and "{date}" one for a title block, now and then one
// they refuse.
struct Invocation {
    std::string_view label;
    std::vector<std::string> args;
    Input input;
    int runs;
};

// Curve files of the no-load current, written into the working folder before
// the runs under names that read the same on both systems.
constexpr const char* kSteelCurveFile = "kalvitra-same-bytes-steel.csv";
constexpr const char* kSteelCurve =
    "B,W/kg,VA/kg\n1.5,0.83,0.95\n1.6,1.01,1.31\n1.7,1.25,1.88\n1.8,1.62,4.2\n";
constexpr const char* kJointCurveFile = "kalvitra-same-bytes-joints.csv";
constexpr const char* kJointCurve = "B,VA/cm2\r\n1.5,2\r\n1.6,2.74\r\n1.7,3.71\r\n";

// Rows in each random CSV table.
constexpr int kTableRows = 100;

// Every command line the comparison runs; a new command of the tool gets its
// lines here. Sheets: 800 one-sheet runs, and 100 tables of about kTableRows
// sheets. The continuous widths are constants of the unit circle scaled by D;
// their many runs check that the scaling and the 15 digits written are the
// same on both systems. The cut list's numbers are written in their shortest
// form, which std::to_chars must give alike everywhere.
const std::vector<Invocation> kInvocations = {
    {"sheet", {"{actions}"}, Input::Sheet, 800},
    {"csv", {"--csv", "{actions}"}, Input::CsvTable, 100},
    {"sheet-any-bytes", {"{actions}"}, Input::Bytes, 30},
    {"csv-any-bytes", {"--csv", "{actions}"}, Input::Bytes, 30},
    {"odd-action", {"{word}", "stack"}, Input::Sheet, 20},
    {"odd-option", {"--{word}", "stages"}, Input::Sheet, 5},
    {"windows-style-option", {"/csv", "stages"}, Input::CsvTable, 1},
    {"option-after-action", {"stages", "--csv"}, Input::CsvTable, 1},
    {"no-action", {}, Input::Sheet, 1},
    {"csv-no-action", {"--csv"}, Input::CsvTable, 1},
    {"empty-input", {"stages"}, Input::None, 1},
    {"csv-empty-input", {"--csv", "stages"}, Input::None, 1},
    {"help", {"--help"}, Input::None, 1},
    {"short-help", {"-h", "stages"}, Input::Sheet, 1},
    {"version", {"--version"}, Input::None, 1},
    {"widths", {"widths", "--diameter", "{diameter}", "--stages", "{stages}"}, Input::None, 80},
    {"widths-grid",
     {"widths", "--diameter", "{diameter}", "--stages", "{stages}", "--grid", "{grid}",
      "--min-width", "{grid}", "--stacking-factor", "{factor}"},
     Input::None,
     60},
    {"widths-odd", {"widths", "--diameter", "{number}", "--stages", "{word}"}, Input::None, 10},
    {"diameter",
     {"diameter", "--net-area", "{area}", "--stacking-factor", "{factor}", "--stages", "{stages}",
      "--grid", "{grid}", "--diameter-step", "{grid}"},
     Input::None,
     40},
    {"diameter-as-cut",
     {"diameter", "--net-area", "{area}", "--stacking-factor", "{factor}", "--stages", "{stages}",
      "--stack-round", "{round}"},
     Input::None,
     30},
    {"rating",
     {"rating", "--power", "{power}", "--hv", "{hv}", "--lv", "{lv}", "--connection",
      "{connection}", "--flux-density", "{flux}", "--stages", "{stages}", "--stacking-factor",
      "{factor}", "--stack-round", "{round}"},
     Input::None,
     60},
    {"rating-sheet",
     {"rating",       "--power",        "{power}",  "--hv",
      "{hv}",         "--lv",           "{lv}",     "--connection",
      "{connection}", "--flux-density", "{flux}",   "--volts-per-turn",
      "{volts}",      "--stages",       "{stages}", "--stacking-factor",
      "{factor}",     "--sheet",        "--limbs",  "3"},
     Input::None,
     20},
    {"rating-odd",
     {"rating", "--power", "{number}", "--hv", "{number}", "--lv", "0.4", "--connection", "{word}",
      "--flux-density", "1.6", "--stages", "9", "--stacking-factor", "0.97"},
     Input::None,
     10},
    {"rating-help", {"rating", "--help"}, Input::None, 1},
    {"section", {"section"}, Input::Sheet, 100},
    {"design-help", {"diameter", "--help"}, Input::None, 1},
    {"section-dxf", {"section", "--format", "dxf", "--lang", "{lang}"}, Input::Sheet, 60},
    {"cutlist", {"cutlist"}, Input::Sheet, 60},
    {"cutlist-rounded",
     {"cutlist", "--stack-round", "{round}", "--sheet-thickness", "{thickness}"},
     Input::Sheet,
     80},
    {"loss-of-sheet",
     {"loss", "--flux-density", "{flux}", "--grade", "{grade}", "--stack-round", "{round}"},
     Input::Sheet,
     60},
    {"loss-of-volts",
     {"loss", "--volts-per-turn", "{volts}", "--grade", "{grade}"},
     Input::Sheet,
     20},
    {"loss-given",
     {"loss", "--flux-density", "{flux}", "--grade", "{grade}", "--mass", "{number}",
      "--building-factor", "{factor}"},
     Input::None,
     40},
    {"loss-current",
     {"loss", "--flux-density", "{flux}", "--curve", kSteelCurveFile, "--power", "{power}",
      "--joints", "{joints}", "--stack-round", "{round}"},
     Input::Sheet,
     60},
    {"loss-current-guaranteed",
     {"loss", "--volts-per-turn", "{volts}", "--curve", kSteelCurveFile, "--joint-curve",
      kJointCurveFile, "--power", "{power}", "--apparent-power-factor", "{factor}",
      "--guaranteed-loss", "{guarantee}", "--guaranteed-current", "{current}"},
     Input::Sheet,
     40},
    {"loss-step-lap",
     {"loss", "--flux-density", "{flux}", "--curve", kSteelCurveFile, "--power", "{power}",
      "--joints", "step-lap", "--step-lap-steps", "{number}", "--step-lap-sheets", "{stages}"},
     Input::Sheet,
     20},
    {"loss-guaranteed-only",
     {"loss", "--flux-density", "{flux}", "--grade", "{grade}", "--mass", "{number}",
      "--guaranteed-loss", "{number}"},
     Input::None,
     20},
    {"loss-grade-without-va",
     {"loss", "--flux-density", "{flux}", "--grade", "{grade}", "--power", "{power}"},
     Input::Sheet,
     10},
    {"workshop-help", {"loss", "--help"}, Input::None, 1},
    {"sheet-strict", {"--strict", "{actions}"}, Input::Sheet, 60},
    {"csv-strict-chinese-header",
     {"--csv", "--strict", "--header", "zh", "--bom", "{actions}"},
     Input::CsvTable,
     10},
    {"section-strict", {"section", "--strict"}, Input::Sheet, 20},
    {"cutlist-strict", {"cutlist", "--strict"}, Input::Sheet, 20},
    {"section-title-block",
     {"section", "--lang", "{lang}", "--designer", "{word}", "--checker", "{word}", "--date",
      "{date}"},
     Input::Sheet,
     30},
    {"section-dxf-title-block",
     {"section", "--format", "dxf", "--lang", "{lang}", "--designer", "{word}", "--date", "{date}"},
     Input::Sheet,
     20},
    {"cutlist-words",
     {"cutlist", "--header", "{lang}", "--bom", "--stack-round", "{round}"},
     Input::Sheet,
     30},
    {"cutlist-joints",
     {"cutlist", "--joints", "{joints}", "--step-lap-steps", "{number}", "--step-lap-sheets",
      "{stages}"},
     Input::Sheet,
     20},
    {"csv-without-the-option", {"stages"}, Input::CsvTable, 3},
    {"table-option-without-csv", {"--bom", "stages"}, Input::Sheet, 1},
    {"widths-number-texts",
     {"widths", "--diameter", "{number}", "--stages", "{stages}", "--grid", "{number}"},
     Input::None,
     20},
    {"design-odd-option", {"widths", "--{word}", "200", "--stages", "{stages}"}, Input::None, 10},
    {"design-option-without-value", {"widths", "--diameter", "200", "--stages"}, Input::None, 1},
};

// Values a designer would give the design commands: mostly sound, now and
// then out of range.
std::string designValue(std::string_view placeholder, RandomInputs& random) {
    const auto pickOf = [&](std::initializer_list<const char*> texts) {
        return std::string(texts.begin()[random.below(texts.size())]);
    };
    if (placeholder == "{diameter}") {
        if (random.oneIn(20)) {
            return pickOf({"0", "-200", "1e400", "219.5", "0.001"});
        }
        return std::to_string(20 + random.below(1981));
    }
    if (placeholder == "{stages}") {
        return random.oneIn(20) ? pickOf({"0", "10", "3.5"}) : std::to_string(1 + random.below(9));
    }
    if (placeholder == "{grid}") {
        return pickOf({"1", "2", "5", "5", "10", "0.5", "2.5"});
    }
    if (placeholder == "{area}") {
        return random.oneIn(20) ? pickOf({"0", "-5", "1e9"})
                                : std::to_string(10 + random.below(2000));
    }
    if (placeholder == "{round}") {
        return pickOf({"0.5", "1", "2", "2", "5", "0.1", "0", "100"});
    }
    if (placeholder == "{thickness}") {
        return pickOf({"0.23", "0.27", "0.3", "0.35", "0", "50"});
    }
    if (placeholder == "{flux}") {
        return pickOf({"1.5", "1.55", "1.6", "1.6352", "1.7", "1.72", "1.4", "0"});
    }
    if (placeholder == "{volts}") {
        return std::to_string(1 + random.below(300)) + "." + std::to_string(random.below(10));
    }
    if (placeholder == "{grade}") {
        return pickOf({"23ZDMH", "23R080", "27ZH100", "30Q120", "M3-0.23", "M4-0.27", "M5"});
    }
    if (placeholder == "{power}") {
        return pickOf({"100", "250", "500", "500", "630", "1000", "2500", "0", "-5", "1e400"});
    }
    if (placeholder == "{hv}") {
        return pickOf({"10", "10", "11", "20", "35", "6.3", "0.3"});
    }
    if (placeholder == "{lv}") {
        return pickOf({"0.4", "0.4", "0.69", "6.3", "0"});
    }
    if (placeholder == "{connection}") {
        return pickOf({"Dyn11", "Dyn11", "Yyn0", "Yd11", "YNd11", "Dd0", "Dyn0", "Yz5", "Dx7"});
    }
    if (placeholder == "{lang}") {
        return pickOf({"en", "zh", "zh", "fr"});
    }
    if (placeholder == "{date}") {
        return pickOf({"2026-12-08", "2024-02-29", "1900-01-01", "2026-02-29", "2026/12/08"});
    }
    if (placeholder == "{joints}") {
        return pickOf({"mitred", "step-lap", "step-lap", "mixed"});
    }
    if (placeholder == "{guarantee}") {
        return pickOf({"400", "480", "900", "1200", "0"});
    }
    if (placeholder == "{current}") {
        return pickOf({"0.5", "0.8", "1.2", "2", "0"});
    }
    return pickOf({"0.95", "0.96", "0.97", "1", "0.9"});  // {factor}
}

void replaceAll(std::string& text, std::string_view placeholder, RandomInputs& random) {
    for (std::size_t at = text.find(placeholder); at != std::string::npos;
         at = text.find(placeholder, at)) {
        const std::string value = placeholder == "{number}" ? random.numberText() : random.word();
        text.replace(at, placeholder.size(), value);
        at += value.size();
    }
}

std::vector<std::string> commandLine(const Invocation& invocation, RandomInputs& random) {
    std::vector<std::string> args;
    for (std::string arg : invocation.args) {
        if (arg == "{actions}") {
            const std::vector<std::string> names = random.actionNames();
            args.insert(args.end(), names.begin(), names.end());
            continue;
        }
        if (arg.size() > 2 && arg.front() == '{' && arg.back() == '}' && arg != "{number}" &&
            arg != "{word}") {
            args.push_back(designValue(arg, random));
            continue;
        }
        replaceAll(arg, "{number}", random);
        replaceAll(arg, "{word}", random);
        // No system passes a NUL inside an argument: Linux's argv ends the
        // argument there, Windows' command line ends the whole line there.
        // The argument is what Linux passes.
        arg.erase(std::min(arg.find('\0'), arg.size()));
        args.push_back(arg);
    }
    return args;
}

std::string inputFor(Input input, RandomInputs& random) {
    switch (input) {
        case Input::Sheet:
            return random.sheet();
        case Input::CsvTable:
            return random.csvTable(kTableRows / 2 + static_cast<int>(random.below(kTableRows)));
        case Input::Bytes:
            return random.bytes();
        case Input::None:
            break;
    }
    return {};
}

// Rows after the header in the tool's CSV output.
long csvRows(const std::string& csv) {
    kalvitra::cli::StringSource source(csv);
    kalvitra::cli::CsvReader reader(source);
    long records = 0;
    while (reader.next() == kalvitra::cli::CsvReader::Result::Record) {
        ++records;
    }
    return records > 0 ? records - 1 : 0;
}

void writeBlock(std::ofstream& out, std::string_view what, std::string_view bytes) {
    out << "-- " << what << ' ' << bytes.size() << " bytes\n";
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out << '\n';
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fputs("usage: kalvitra_same_bytes TRANSCRIPT [SEED]\n", stderr);
        return 2;
    }
    const std::uint64_t seed = argc == 3 ? std::stoull(argv[2]) : 20261207;
    // A drawing without --date carries the day of SOURCE_DATE_EPOCH, the
    // same on both systems whenever each runs.
#ifdef _WIN32
    _putenv_s("SOURCE_DATE_EPOCH", "1765152000");
#else
    setenv("SOURCE_DATE_EPOCH", "1765152000", 1);
#endif
    std::ofstream out(argv[1], std::ios::binary);
    if (!out) {
        std::fprintf(stderr, "kalvitra_same_bytes: cannot write %s\n", argv[1]);
        return 2;
    }
    try {
        for (const auto& [name, text] :
             {std::pair{kSteelCurveFile, kSteelCurve}, std::pair{kJointCurveFile, kJointCurve}}) {
            std::ofstream curve(name, std::ios::binary);
            curve << text;
            if (!curve.flush()) {
                std::fprintf(stderr, "kalvitra_same_bytes: cannot write %s\n", name);
                return 2;
            }
        }
        RandomInputs random(seed);
        long runs = 0;
        long sheets = 0;
        for (const Invocation& invocation : kInvocations) {
            for (int i = 0; i < invocation.runs; ++i) {
                const std::vector<std::string> args = commandLine(invocation, random);
                const std::string input = inputFor(invocation.input, random);
                const ToolRun run = kalvitra::testing::runProgramOn(KALVITRA_CLI_PATH, args, input);
                if (run.status < 0) {
                    std::fprintf(stderr, "kalvitra_same_bytes: the tool crashed on case %ld\n",
                                 runs);
                    return 1;
                }
                out << "== case " << runs << ": " << invocation.label << '\n';
                for (const std::string& arg : args) {
                    writeBlock(out, "argument", arg);
                }
                writeBlock(out, "input", input);
                out << "-- status " << run.status << '\n';
                writeBlock(out, "stdout", run.out);
                writeBlock(out, "stderr", run.err);
                ++runs;
                // Sheets the tool calculated: one per sheet run, one per row
                // of a table.
                if (invocation.input == Input::Sheet && run.status != 2) {
                    ++sheets;
                } else if (invocation.input == Input::CsvTable) {
                    sheets += csvRows(run.out);
                }
            }
        }
        out.close();
        if (!out) {
            std::fprintf(stderr, "kalvitra_same_bytes: cannot write %s\n", argv[1]);
            return 2;
        }
        std::printf("%ld runs, %ld sheets calculated, seed %llu\n", runs, sheets,
                    static_cast<unsigned long long>(seed));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kalvitra_same_bytes: %s\n", error.what());
        return 2;
    }
    return 0;
}
