// The workshop commands in process: the names a refusal gives (one row per
// option or sheet field), the CSV and its summary, the loss lines; and the
// DXF file through the real tool, written whole or not at all.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "batch.h"
#include "command_run.h"
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

using Outcome = CommandRun;

Outcome runCommand(std::string_view command, const std::vector<std::string>& args,
                   std::string_view input = kCore196) {
    return runInProcess(command, args, input);
}

// The core with one field's line changed, or added.
std::string core196With(const std::string& line) {
    const std::string name = line.substr(0, line.find('=') + 1);
    const std::size_t at = ("\n" + kCore196).find("\n" + name);
    if (name.empty() || at == std::string::npos) {
        return kCore196 + line + "\n";
    }
    return kCore196.substr(0, at) + line + kCore196.substr(kCore196.find('\n', at));
}

// A refusal names the option or sheet field the input came from: one row for
// each. The ranges themselves are the core's, tested there.
TEST(RefusalNames, TheOptionOrFieldGiven) {
    const struct {
        const char* commandLine;  // split at blanks
        const char* sheetLine;    // changed in the 196 mm core's sheet
        std::string message;      // after "kalvitra-cli COMMAND: "
    } cases[] = {
        {"cutlist", "D=2e100", "D: the diameter must lie between 1E-100 and 1E+100"},
        {"cutlist", "PK2=195",
         "stage 2 (PK2): the width 195 is not below the width of stage 1 (190); the widths must "
         "decrease from stage to stage"},
        {"cutlist", "H=", "H: the window height must be a number greater than 0"},
        {"cutlist", "M=150",
         "M: the centre distance 150 is not above the widest width 190; the limbs would overlap"},
        {"cutlist", "Z=1", "Z: the number of limbs must be a whole number from 2 to 1000"},
        {"loss --flux-density 1.6 --grade M4-0.27", "MD=0",
         "MD: the density must be a number greater than 0"},
        {"cutlist", "dpxs=97",
         "dpxs: the stacking factor must be a number greater than 0 and at most 1"},
        {"cutlist --stack-round 0", "",
         "--stack-round \"0\": the stack rounding must be a number greater than 0"},
        {"cutlist --sheet-thickness 10", "",
         "--sheet-thickness \"10\": step 8: its stack of 8.78238945225613 mm holds no pair of "
         "sheets 10 mm thick"},
        {"cutlist --lang fr", "",
         "--lang \"fr\": the language must be en (English) or zh (Chinese)"},
        {"cutlist --header names", "",
         "--header \"names\": the language must be en (English) or zh (Chinese)"},
        {"section --date 2026-02-30", "",
         "--date \"2026-02-30\": the date must be a day from 1900-01-01 on written YYYY-MM-DD, "
         "as 2026-12-08"},
        {"section --format pdf", "", "--format \"pdf\": the format must be svg or dxf"},
        {"loss --flux-density 1.8 --grade M4-0.27 --mass 1", "",
         "--flux-density \"1.8\": the flux density 1.8 T lies outside the curve M4-0.27 (1.5 to "
         "1.7 T); a curve is never extrapolated"},
        {"loss --volts-per-turn 20 --grade M4-0.27", "",
         "--volts-per-turn \"20\": the flux density 3.2771769313226 T lies outside the curve "
         "M4-0.27 (1.5 to 1.7 T); a curve is never extrapolated"},
        {"loss --volts-per-turn 10 --frequency 0 --grade M4-0.27", "",
         "--frequency \"0\": the frequency must be a number greater than 0"},
        {"loss --flux-density 1.6 --grade M4-0.27 --building-factor -1", "",
         "--building-factor \"-1\": the building factor must be a number greater than 0"},
        {"loss --flux-density 1.6 --grade M4-0.27 --mass 0", "",
         "--mass \"0\": the mass must be a number greater than 0"},
        {"loss --flux-density 1.6 --grade M5", "",
         "--grade \"M5\": no built-in grade of this name; the built-in grades are 23ZDMH, "
         "23R080, 23ZH90, 27ZH95, 27ZH100, 27Q110, 30Q120, 30Q130, M3-0.23, M4-0.27"},
        {"loss --flux-density 1.6 --curve nocurve.csv", "",
         "--curve \"nocurve.csv\": No such file or directory"},
        {"loss --grade M4-0.27", "",
         "give the flux density (--flux-density B) or the volts per turn (--volts-per-turn E); "
         "see kalvitra-cli loss --help"},
        {"loss --flux-density 1.6", "",
         "give the loss curve (--grade NAME or --curve FILE); see kalvitra-cli loss --help"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args;
        for (std::string_view rest = c.commandLine; !rest.empty();) {
            const std::size_t blank = std::min(rest.find(' '), rest.size());
            args.emplace_back(rest.substr(0, blank));
            rest.remove_prefix(std::min(blank + 1, rest.size()));
        }
        const std::string command = args.front();
        args.erase(args.begin());
        const Outcome result = runCommand(command, args, core196With(c.sheetLine));
        EXPECT_EQ(result.status, kExitBadInput) << c.commandLine;
        EXPECT_EQ(result.out, "") << c.commandLine;
        EXPECT_EQ(result.err, "kalvitra-cli " + command + ": " + c.message + "\n");
    }
}

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

// The CSV's words: keys by default and with --header en, byte for byte; with
// --header zh the designer's Chinese heads and pieces, every number as
// before; a byte order mark only with --bom.
TEST(CutList, HeaderWordsAndByteOrderMark) {
    const std::vector<std::string> base = {"--stack-round", "2", "--sheet-thickness", "0.27"};
    const std::string keys = runCommand("cutlist", base).out;
    std::string chinese = "级,零件,片宽 mm,短边 mm,长边 mm,每层,叠厚 mm,片数,件数,质量 kg" +
                          keys.substr(keys.find('\n'));
    for (const auto& [key, word] :
         {std::pair{",outer-limb,", ",边柱,"}, {",centre-limb,", ",中柱,"}, {",yoke,", ",铁轭,"}}) {
        for (std::size_t at = chinese.find(key); at != std::string::npos;
             at = chinese.find(key, at)) {
            chinese.replace(at, std::string_view(key).size(), word);
        }
    }
    const struct {
        const char* name;
        std::vector<std::string> options;
        std::string out;
    } cases[] = {
        {"en", {"--header", "en"}, keys},
        {"zh", {"--header", "zh"}, chinese},
        {"bom", {"--bom"}, "\xEF\xBB\xBF" + keys},
        {"zh with bom", {"--header", "zh", "--bom"}, "\xEF\xBB\xBF" + chinese},
    };
    EXPECT_TRUE(keys.starts_with("step,piece,width,")) << keys;
    for (const auto& c : cases) {
        std::vector<std::string> args = base;
        args.insert(args.end(), c.options.begin(), c.options.end());
        const Outcome result = runCommand("cutlist", args);
        EXPECT_EQ(result.status, 0) << c.name << ": " << result.err;
        EXPECT_EQ(result.out, c.out) << c.name;
    }
}

// Both drawings carry the title block: the sheet's Text1 and Text2 and the
// signatures given, labelled in the drawing's language.
TEST(TitleBlock, OnBothDrawingsInTheirLanguage) {
    const std::string sheet = kCore196 + "Text1=S11-M-100/10\nText2=J2026-17\n";
    const std::vector<std::string> signatures = {"--designer", "Li Wei", "--checker",
                                                 "Wang Fang",  "--date", "2026-12-08"};
    for (const std::string lang : {"en", "zh"}) {
        std::vector<std::string> args = {"--lang", lang};
        args.insert(args.end(), signatures.begin(), signatures.end());
        const Outcome svg = runCommand("section", args, sheet);
        ASSERT_EQ(svg.status, 0) << svg.err;
        TempFile dxf;
        args.insert(args.end(), {"--dxf", dxf.path().string()});
        ASSERT_EQ(runCommand("cutlist", args, sheet).status, 0);
        const std::string drawing = dxf.read();
        const std::string label = lang == "zh" ? "\\U+8BBE\\U+8BA1" : "designed";  // 设计
        for (const char* value :
             {"S11-M-100/10", "J2026-17", "Li Wei", "Wang Fang", "2026-12-08", "1:1"}) {
            EXPECT_NE(svg.out.find(std::string(">") + value + "</text>"), std::string::npos)
                << lang << ": " << value;
            EXPECT_NE(drawing.find(std::string("\n") + value + "\n"), std::string::npos)
                << lang << ": " << value;
        }
        EXPECT_NE(drawing.find("\n" + label + "\n"), std::string::npos) << lang;
    }
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

// A steel curve with VA/kg up to 1.8 T, in round figures: 1.2 VA/kg at 1.6 T.
const char* const kSteelCurve = "B,W/kg,VA/kg\n1.5,0.8,1.0\n1.6,1.0,1.2\n1.8,1.6,2.0\n";

// The args of a command line split at blanks, CURVE standing for the file.
std::vector<std::string> argsOf(std::string_view line, const std::string& curve) {
    std::vector<std::string> args;
    for (std::string_view rest = line; !rest.empty();) {
        const std::size_t blank = std::min(rest.find(' '), rest.size());
        const std::string_view arg = rest.substr(0, blank);
        args.emplace_back(arg == "CURVE" ? std::string_view(curve) : arg);
        rest.remove_prefix(std::min(blank + 1, rest.size()));
    }
    return args;
}

// Each option of the no-load current and the guarantee named in its refusal.
TEST(RefusalNames, TheNoLoadCurrentOptions) {
    TempFile curve;
    curve.write(kSteelCurve);
    const struct {
        const char* commandLine;  // after "loss --flux-density 1.6"
        std::string message;
    } cases[] = {
        {"--curve CURVE --power 0",
         "--power \"0\": the rated power must be a number greater than 0"},
        {"--curve CURVE --power 500 --joints butt",
         "--joints \"butt\": the joints must be mitred or step-lap"},
        {"--curve CURVE --power 500 --apparent-power-factor 0",
         "--apparent-power-factor \"0\": the apparent-power factor must be a number greater than "
         "0"},
        {"--grade M4-0.27 --mass 1 --guaranteed-loss -1",
         "--guaranteed-loss \"-1\": the guaranteed no-load loss must be a number greater than 0"},
        {"--curve CURVE --power 500 --guaranteed-current 0",
         "--guaranteed-current \"0\": the guaranteed no-load current must be a number greater "
         "than 0"},
        {"--curve CURVE --power 500 --joints step-lap --step-lap-steps 0 --step-lap-sheets 2",
         "--step-lap-steps \"0\": the number of steps per book must be a whole number from 1 to "
         "100"},
        {"--curve CURVE --power 500 --step-lap-steps 5 --step-lap-sheets 2",
         "--step-lap-steps and --step-lap-sheets describe step-lap joints: give --joints "
         "step-lap"},
        {"--curve CURVE --power 500 --joint-curve nojoints.csv",
         "--joint-curve \"nojoints.csv\": No such file or directory"},
        {"--curve CURVE --guaranteed-current 1",
         "--guaranteed-current requires --power; see kalvitra-cli loss --help"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = argsOf(c.commandLine, curve.path().string());
        args.insert(args.begin(), {"--flux-density", "1.6"});
        const Outcome result = runCommand("loss", args);
        EXPECT_EQ(result.status, kExitBadInput) << c.commandLine;
        EXPECT_EQ(result.out, "") << c.commandLine;
        EXPECT_EQ(result.err, "kalvitra-cli loss: " + c.message + "\n") << c.commandLine;
    }
}

// The 196 mm core's net area, 272.764... cm² with R = 2, carries the joints'
// term: 6 joints · 2.74 VA/cm² at 1.6 T; the body is 1.3 · 1.2 · 1000 kg.
TEST(Loss, NoLoadCurrentAndVerdictsBelowTheLossLines) {
    TempFile curve;
    curve.write(kSteelCurve);
    const std::string lossLines =
        "flux_density=1.6\nspecific_loss=1\nmass=1000\nbuilding_factor=1\nno_load_loss=1000\n";
    const struct {
        const char* name;
        const char* options;  // after the loss's own
        std::string lines;    // below the loss's lines
    } cases[] = {
        {"LossVerdictAlone", "--guaranteed-loss 900",
         "no_load_loss_verdict=within-tolerance\nno_load_loss_margin=-11.1111111111111\n"
         "tolerance_rule=GB/T 1094.1 (IEC 60076-1): no-load loss at most +15 %, no-load "
         "current at most +30 % above the guaranteed value\n"},
        {"Mitred", "--power 500",
         "apparent_power_body=1560\napparent_power_joints=4484.24016\n"
         "apparent_power=6044.24016\nno_load_current=1.208848032\n"
         "method=K_q*q(B)*m + n_j*f_j*q_j(B)*A_net (K_q=1.3, mitred)\njoint_curve=typical\n"},
        {"StepLapRecordsItsLayout",
         "--power 500 --joints step-lap --step-lap-steps 6 --step-lap-sheets 2 "
         "--apparent-power-factor 1 --guaranteed-current 0.5",
         "apparent_power_body=1200\napparent_power_joints=2242.12008\n"
         "apparent_power=3442.12008\nno_load_current=0.688424016\n"
         "method=K_q*q(B)*m + n_j*f_j*q_j(B)*A_net (K_q=1, step-lap)\njoint_curve=typical\n"
         "step_lap_steps=6\nstep_lap_sheets=2\n"
         "no_load_current_verdict=beyond\nno_load_current_margin=-37.6848032\n"
         "tolerance_rule=GB/T 1094.1 (IEC 60076-1): no-load loss at most +15 %, no-load "
         "current at most +30 % above the guaranteed value\n"},
    };
    for (const auto& c : cases) {
        const std::string line = "--flux-density 1.6 --curve CURVE --mass 1000 --stack-round 2 " +
                                 std::string(c.options);
        const Outcome result = runCommand("loss", argsOf(line, curve.path().string()));
        EXPECT_EQ(result.status, 0) << c.name << ": " << result.err;  // whatever the verdict
        EXPECT_EQ(result.out, lossLines + c.lines) << c.name;
    }
}

// A built-in grade has no VA/kg: the loss and its verdict stand, the current
// and its verdict are left out, and the warning says why.
TEST(Loss, CurveWithoutApparentPowerStillGivesTheLoss) {
    const Outcome result =
        runCommand("loss", argsOf("--flux-density 1.6 --grade M4-0.27 --mass 1000 --power 500 "
                                  "--guaranteed-loss 900 --guaranteed-current 1",
                                  ""));
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              "flux_density=1.6\nspecific_loss=1.01\nmass=1000\nbuilding_factor=1\n"
              "no_load_loss=1010\nno_load_loss_verdict=within-tolerance\n"
              "no_load_loss_margin=-12.2222222222222\ntolerance_rule=GB/T 1094.1 (IEC 60076-1): "
              "no-load loss at most +15 %, no-load current at most +30 % above the guaranteed "
              "value\n");
    EXPECT_EQ(result.err,
              "warning: no no-load current: --grade \"M4-0.27\": no VA/kg for this grade: give a "
              "curve with a third column\n");
}

// ---- the DXF file ----------------------------------------------------------

TEST(CutListDxfFile, ReplacesTheFileBesideTheCsv) {
    TempFile dxf;
    dxf.write("an old drawing");
    const ToolRun run =
        runTool({"cutlist", "--dxf", dxf.path().string(), "--lang", "zh", "--joints", "step-lap"},
                kCore196);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.out.starts_with("step,piece,")) << run.out;
    const std::string text = dxf.read();
    EXPECT_TRUE(text.starts_with("  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n"));
    EXPECT_TRUE(text.ends_with("  0\nEOF\n"));
    EXPECT_NE(text.find("\\U+8FB9\\U+67F1"), std::string::npos) << "边柱";
    EXPECT_NE(text.find("\\U+FF08\\U+6B65\\U+8FDB\\U+642D\\U+63A5\\U+FF09"), std::string::npos)
        << "（步进搭接）";
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
