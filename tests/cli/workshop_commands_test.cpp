// The workshop commands in process: the names a refusal gives (one row per
// option or sheet field), the CSV and its summary, the loss lines; and the
// DXF file through the real tool, written whole or not at all.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "batch.h"
#include "byte_stream.h"
#include "design_commands.h"
#include "tool_run.h"

namespace kalvitra::cli {
namespace {

namespace fs = std::filesystem;
using tool_run::runTool;
using tool_run::TempFile;
using tool_run::ToolRun;

const std::string kCore196 =
    "D=196\nPK1=190\nPK2=180\nPK3=160\nPK4=140\nPK5=120\nPK6=100\nPK7=65\nPK8=30\n"
    "H=760\nM=364\nZ=3\ndpxs=0.97\n";

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

Outcome runCommand(std::string_view command, const std::vector<std::string>& args,
                   std::string_view input = kCore196) {
    StringSource source(input);
    Outcome result;
    result.status = runDesignCommand(command, args, source, result.out, result.err);
    return result;
}

// The core with one field's line changed, or added.
std::string core196With(const std::string& line) {
    const std::string name = line.substr(0, line.find('=') + 1);
    const std::size_t at = ("\n" + kCore196).find("\n" + name);
    if (at == std::string::npos) {
        return kCore196 + line + "\n";
    }
    return kCore196.substr(0, at) + line + kCore196.substr(kCore196.find('\n', at));
}

struct Named {
    const char* name;
    const char* command;
    std::vector<std::string> args;
    std::string input;
    std::string message;  // after "kalvitra-cli COMMAND: "
    friend void PrintTo(const Named& c, std::ostream* os) { *os << c.name; }
};

class RefusalNames : public ::testing::TestWithParam<Named> {};

TEST_P(RefusalNames, TheOptionOrFieldGiven) {
    const Named& c = GetParam();
    const Outcome result = runCommand(c.command, c.args, c.input);
    EXPECT_EQ(result.status, kExitBadInput);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "kalvitra-cli " + std::string(c.command) + ": " + c.message + "\n");
}

const std::vector<std::string> kLossArgs = {"--grade", "M4-0.27", "--mass", "1000"};

std::vector<std::string> lossWith(std::vector<std::string> args) {
    args.insert(args.end(), kLossArgs.begin(), kLossArgs.end());
    return args;
}

INSTANTIATE_TEST_SUITE_P(
    Workshop, RefusalNames,
    ::testing::Values(
        Named{"D",
              "cutlist",
              {},
              core196With("D=2e100"),
              "D: the diameter must lie between 1E-100 and 1E+100"},
        Named{"WidthsNameTheirFields",
              "cutlist",
              {},
              core196With("PK2=195"),
              "stage 2 (PK2): the width 195 is not below the width of stage 1 (190); the widths "
              "must decrease from stage to stage"},
        Named{"H",
              "cutlist",
              {},
              core196With("H="),
              "H: the window height must be a number greater than 0"},
        Named{"M",
              "cutlist",
              {},
              core196With("M=150"),
              "M: the centre distance 150 is not above the widest width 190; the limbs would "
              "overlap"},
        Named{"Z",
              "cutlist",
              {},
              core196With("Z=1"),
              "Z: the number of limbs must be a whole number from 2 to 1000"},
        Named{"MD",
              "loss",
              {"--flux-density", "1.6", "--grade", "M4-0.27"},
              core196With("MD=0"),
              "MD: the density must be a number greater than 0"},
        Named{"Dpxs",
              "cutlist",
              {},
              core196With("dpxs=97"),
              "dpxs: the stacking factor must be a number greater than 0 and at most 1"},
        Named{"StackRound",
              "cutlist",
              {"--stack-round", "0"},
              kCore196,
              "--stack-round \"0\": the stack rounding must be a number greater than 0"},
        Named{"SheetThickness",
              "cutlist",
              {"--sheet-thickness", "10"},
              kCore196,
              "--sheet-thickness \"10\": step 8: its stack of 8.78238945225613 mm holds no pair "
              "of sheets 10 mm thick"},
        Named{"Lang",
              "cutlist",
              {"--lang", "fr"},
              kCore196,
              "--lang \"fr\": the language must be en (English) or zh (Chinese)"},
        Named{"Format",
              "section",
              {"--format", "pdf"},
              kCore196,
              "--format \"pdf\": the format must be svg or dxf"},
        Named{"FluxDensity", "loss", lossWith({"--flux-density", "1.8"}), "",
              "--flux-density \"1.8\": the flux density 1.8 T lies outside the curve M4-0.27 "
              "(1.5 to 1.7 T); a curve is never extrapolated"},
        Named{"FluxDensityFromVoltsPerTurn", "loss", lossWith({"--volts-per-turn", "20"}), kCore196,
              "--volts-per-turn \"20\": the flux density 3.2771769313226 T lies outside the "
              "curve M4-0.27 (1.5 to 1.7 T); a curve is never extrapolated"},
        Named{"Frequency", "loss", lossWith({"--volts-per-turn", "10", "--frequency", "0"}),
              kCore196, "--frequency \"0\": the frequency must be a number greater than 0"},
        Named{"BuildingFactor", "loss",
              lossWith({"--flux-density", "1.6", "--building-factor", "-1"}), "",
              "--building-factor \"-1\": the building factor must be a number greater than 0"},
        Named{"Mass",
              "loss",
              {"--flux-density", "1.6", "--grade", "M4-0.27", "--mass", "0"},
              "",
              "--mass \"0\": the mass must be a number greater than 0"},
        Named{"Grade",
              "loss",
              {"--flux-density", "1.6", "--grade", "M5", "--mass", "1"},
              "",
              "--grade \"M5\": no built-in grade of this name; the built-in grades are 23ZDMH, "
              "23R080, 27ZH100, 30Q120, M3-0.23, M4-0.27"},
        Named{"CurveUnreadable",
              "loss",
              {"--flux-density", "1.6", "--curve", "no such curve.csv", "--mass", "1"},
              "",
              "--curve \"no such curve.csv\": No such file or directory"},
        Named{"NoFluxDensity", "loss", kLossArgs, "",
              "give the flux density (--flux-density B) or the volts per turn "
              "(--volts-per-turn E); see kalvitra-cli loss --help"},
        Named{"NoCurve",
              "loss",
              {"--flux-density", "1.6", "--mass", "1"},
              "",
              "give the loss curve (--grade NAME or --curve FILE); see kalvitra-cli loss --help"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CutList, CsvOnStandardOutputSummaryOnStandardError) {
    const Outcome result =
        runCommand("cutlist", {"--stack-round", "2", "--sheet-thickness", "0.27"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(
        result.out.starts_with("step,piece,width,short,long,per_layer,stack,sheets,pieces,mass\n"
                               "1,outer-limb,190,760,1140,2,48,172,344,128.582424\n"
                               "1,centre-limb,190,760,950,1,48,172,172,57.862090800000004\n"))
        << result.out;
    EXPECT_EQ(tool_run::lineCount(result.out), 1 + 8 * 3);
    EXPECT_EQ(result.err,
              "limb net area 272.76 cm\u00B2\n"
              "frame mass 865.07 kg: the true frame, the sum of the rows as cut\n"
              "convention \"the calculator's own weight\": 871.27 kg, +0.72 % (thicknesses "
              "rounded to 0.01 mm)\n"
              "convention \"3 limbs Hw + yokes 2C + D\": 861.37 kg, -0.43 % (three limbs "
              "whatever Z)\n");
}

TEST(Loss, LinesInOrderWithTheMassOfTheSheetOrGiven) {
    const Outcome given = runCommand("loss",
                                     {"--flux-density", "1.6352", "--grade", "M4-0.27", "--mass",
                                      "1123.6", "--building-factor", "1.25"},
                                     "");
    EXPECT_EQ(given.status, 0) << given.err;
    EXPECT_EQ(given.out,
              "flux_density=1.6352\nspecific_loss=1.09448\nmass=1123.6\nbuilding_factor=1.25\n"
              "no_load_loss=1537.19716\n");
    // From the sheet: B of 10 V a turn through its 272.76 cm², the frame mass.
    const Outcome fromSheet =
        runCommand("loss", {"--volts-per-turn", "10", "--grade", "M4-0.27", "--stack-round", "2"});
    EXPECT_EQ(fromSheet.status, 0) << fromSheet.err;
    EXPECT_TRUE(fromSheet.out.starts_with("flux_density=1.65035766478917\n")) << fromSheet.out;
    EXPECT_NE(fromSheet.out.find("\nmass=865.07239176\n"), std::string::npos) << fromSheet.out;
}

// ---- the DXF file ----------------------------------------------------------

TEST(CutListDxfFile, ReplacesTheFileBesideTheCsv) {
    TempFile dxf;
    dxf.write("an old drawing");
    const ToolRun run =
        runTool({"cutlist", "--dxf", dxf.path().string(), "--lang", "zh"}, kCore196);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.out.starts_with("step,piece,")) << run.out;
    const std::string text = dxf.read();
    EXPECT_TRUE(text.starts_with("  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n"));
    EXPECT_TRUE(text.ends_with("  0\nEOF\n"));
    EXPECT_NE(text.find("\\U+8FB9\\U+67F1"), std::string::npos) << "边柱";
}

TEST(CutListDxfFile, NotWrittenExitsOneAndLeavesNothingBehind) {
    TempFile old;
    old.write("an old drawing");
    const fs::path folder = old.path().parent_path() / "kalvitra-no-such-folder";
    const fs::path cases[] = {folder / "cut.dxf", old.path().parent_path()};
    for (const fs::path& target : cases) {
        const ToolRun run = runTool({"cutlist", "--dxf", target.string()}, kCore196);
        EXPECT_EQ(run.status, 1) << target;
        EXPECT_EQ(run.out, "") << target;
        EXPECT_TRUE(
            run.err.starts_with("kalvitra-cli cutlist: cannot write " + target.string() + ": "))
            << run.err;
        EXPECT_EQ(tool_run::lineCount(run.err), 1u) << run.err;
    }
    EXPECT_FALSE(fs::exists(folder));
#ifndef _WIN32
    // A file that cannot be written to the end (the shell's limit on file
    // sizes stops it after 1 KiB): the old file stays as it was, and no
    // temporary file is left beside it.
    const fs::path tool = fs::absolute(KALVITRA_CLI_PATH);
    TempFile sheet;
    sheet.write(kCore196);
    const std::string command = "trap '' XFSZ; ulimit -f 1; '" + tool.string() +
                                "' cutlist --dxf '" + old.path().string() + "' < '" +
                                sheet.path().string() + "' > /dev/null 2>&1";
    EXPECT_EQ(WEXITSTATUS(std::system(("bash -c \"" + command + "\"").c_str())), 1);
    EXPECT_EQ(old.read(), "an old drawing");
    for (const auto& entry : fs::directory_iterator(old.path().parent_path())) {
        EXPECT_EQ(entry.path().string().find(old.path().filename().string() + ".kalvitra-"),
                  std::string::npos)
            << entry.path();
    }
#endif
}

}  // namespace
}  // namespace kalvitra::cli
