// The design commands through the real kalvitra-cli: pipelines into the
// actions, the drawing through an SVG renderer, and the help that the manual
// page is made from.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "kalvitra/design/best_widths.h"
#include "kalvitra/text/numbers.h"
#include "tool_run.h"

namespace {

namespace fs = std::filesystem;
using namespace kalvitra::tool_run;

TEST(DesignTool, WidthsPipeIntoTheActions) {
    const ToolRun widths = runTool({"widths", "--diameter", "200", "--stages", "6", "--grid", "5",
                                    "--stacking-factor", "0.96"},
                                   "");
    ASSERT_EQ(widths.status, 0) << widths.err;
    const ToolRun sheet = runTool({"stages", "gross-area", "net-area", "stack"}, widths.out);
    ASSERT_EQ(sheet.status, 0) << sheet.err;
    EXPECT_EQ(sheet.err, "");
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"D", "200"},    {"dpxs", "0.96"},   {"PK1", "190"},      {"PK6", "55"},
        {"PK7", ""},     {"jh1", "0062.45"}, {"jh5", "0012.00"},  {"jh6", "0008.15"},
        {"jh7", "0"},    {"jh62", "8.15"},   {"txmj", "289.683"}, {"txjmj", "278.09568"},
        {"dh", "192.29"}};
    for (const auto& [name, text] : expected) {
        EXPECT_EQ(fieldText(sheet.out, name), text) << name;
    }
}

TEST(DesignTool, DiameterPipesIntoTheActionsAndReachesTheArea) {
    const ToolRun core = runTool(
        {"diameter", "--net-area", "1000", "--stacking-factor", "0.96", "--stages", "9"}, "");
    ASSERT_EQ(core.status, 0) << core.err;
    const ToolRun sheet = runTool({"stages", "gross-area", "net-area"}, core.out);
    ASSERT_EQ(sheet.status, 0) << sheet.err;
    EXPECT_EQ(fieldText(sheet.out, "D"), "375");
    // The sheet's thicknesses are rounded to two decimals; the net area
    // still clears the target.
    EXPECT_GE(std::stod(fieldText(sheet.out, "txjmj")), 1000.0);
}

TEST(DesignTool, BadOptionExitsTwoWithNothingOnStandardOutput) {
    const ToolRun run = runTool({"widths", "--diameter", "200", "--stages", "10"}, "");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err,
              "kalvitra-cli widths: --stages \"10\": the number of stages must be a whole number "
              "from 1 to 9\n");
}

TEST(DesignTool, SectionThatCannotBeWrittenIsAFailure) {
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    const std::filesystem::path full = "/dev/full";
    TempFile sheet;
    sheet.write("D=200\nPK1=190\n");
    const ToolRun run = runToolWithPaths({"section"}, sheet.path(), &full);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.starts_with("kalvitra-cli: cannot write to standard output")) << run.err;
}

// The drawing must open in an ordinary SVG renderer; librsvg is what a
// Debian desktop uses for SVG.
TEST(DesignTool, SectionRendersWithRsvgConvert) {
    if (std::system("command -v rsvg-convert >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "rsvg-convert (Debian package librsvg2-bin) is not installed";
    }
    const ToolRun section =
        runTool({"section"}, "D=200\nPK1=190\nPK2=175\nPK3=155\nPK4=130\nPK5=100\nPK6=65\n");
    ASSERT_EQ(section.status, 0) << section.err;
    TempFile svg;
    svg.write(section.out);
    TempFile png;
    const std::string command = "rsvg-convert --format=png --output='" + png.path().string() +
                                "' '" + svg.path().string() + "' 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string image = png.read();
    ASSERT_GT(image.size(), 24u);
    EXPECT_EQ(image.substr(0, 8), "\x89PNG\r\n\x1A\n");
}

// The tool's help lists the commands and points to theirs, where each
// command's contract lives once.
TEST(DesignTool, HelpListsTheCommandsAndEachHelpHoldsItsContract) {
    const ToolRun help = runTool({"--help"}, "");
    EXPECT_EQ(help.status, 0);
    for (const char* mentioned :
         {"COMMANDS", "kalvitra-cli COMMAND --help", "  widths ", "  diameter ", "  section ",
          "  cutlist ", "  loss ", ".kvs", "ACTIONS", "--csv", "EXIT STATUS"}) {
        EXPECT_NE(help.out.find(mentioned), std::string::npos) << mentioned;
    }
    // The limits a command's help states are the ones the program keeps.
    using namespace kalvitra;
    const ToolRun widths = runTool({"widths", "--help"}, "");
    for (const std::string& limit :
         {"at most " + std::to_string(design::kMaxGridWidths) + " widths",
          "between " + writeDefault(kMinDiameter) + " and " + writeDefault(kMaxDiameter) + " mm",
          std::string("F outside (0, 1]")}) {
        EXPECT_NE(widths.out.find(limit), std::string::npos) << limit;
    }
    const ToolRun cutlist = runTool({"cutlist", "--help"}, "");
    EXPECT_NE(cutlist.out.find("from 2 to " + std::to_string(kMaxLimbs)), std::string::npos);
}

}  // namespace
