// End-to-end runs of the kalvitra-cli executable: arguments, standard input,
// standard output, standard error and exit status as a user sees them.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tool_run.h"

namespace {

namespace fs = std::filesystem;
using namespace kalvitra::tool_run;

constexpr const char* kSixStageSheet =
    "D=200\nPK1=190\nPK2=175\nPK3=155\nPK4=130\nPK5=100\nPK6=65\ndpxs=0.96\n";

TEST(Tool, SixStageWorkedExamplePrintsTheWholeSheet) {
    const ToolRun run = runTool({"stages", "gross-area", "net-area", "stack"}, kSixStageSheet);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
              "Text1=\nText2=\nTXJS=\nD=200\nH=\nM=\nZ=\nMD=7.65\ndpxs=0.96\n"
              "PK1=190\nPK2=175\nPK3=155\nPK4=130\nPK5=100\nPK6=65\nPK7=\nPK8=\nPK9=\n"
              "jh1=0062.45\njh2=0017.19\njh3=0014.78\njh4=0012.80\njh5=0010.61\njh6=0007.97\n"
              "jh7=0\njh8=0\njh9=0\n"
              "jh22=17.19\njh32=14.78\njh42=12.8\njh52=10.61\njh62=7.97\njh72=0\njh82=0\njh92=0\n"
              "txmj=289.499\ntxjmj=277.91904\ndh=189.15\ntxz=\n");
}

TEST(Tool, CoreWeightOfTheSixStageCore) {
    const ToolRun run =
        runTool({"stages", "weight"},
                "\xEF\xBB\xBF"
                "D=200\r\nPK1=190\r\nPK2=175\r\nPK3=155\r\nPK4=130\r\nPK5=100\r\nPK6=65\r\n"
                "\r\nH=600\r\nM=420\r\nZ=3\r\ndpxs=0.97\r\nText1=S11-M "
                "\xE5\x8F\x98\xE5\x8E\x8B\xE5\x99\xA8\r\n");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(fieldText(run.out, "txz"), "834.9353444385");
    EXPECT_EQ(fieldText(run.out, "Text1"), "S11-M \xE5\x8F\x98\xE5\x8E\x8B\xE5\x99\xA8");
    EXPECT_EQ(fieldText(run.out, "txmj"), "") << "only the actions named run";
}

TEST(Tool, FailingActionPrintsPartialWritesAndStops) {
    const ToolRun run =
        runTool({"stages", "stack"},
                "D=200\nPK1=190\nPK2=175\nPK3=300\njh3=old3\njh9=old9\njh22=old22\njh32=old32\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(lineCount(run.out), 39u);
    EXPECT_EQ(fieldText(run.out, "jh1"), "0062.45");
    EXPECT_EQ(fieldText(run.out, "jh2"), "0017.19");
    EXPECT_EQ(fieldText(run.out, "jh3"), "old3");
    EXPECT_EQ(fieldText(run.out, "jh4"), "");
    EXPECT_EQ(fieldText(run.out, "jh9"), "old9");
    EXPECT_EQ(fieldText(run.out, "jh22"), "old22");
    EXPECT_EQ(fieldText(run.out, "jh32"), "old32");
    EXPECT_EQ(fieldText(run.out, "dh"), "") << "actions after the failing one do not run";
    EXPECT_TRUE(run.err.starts_with("warning: PK3: \"300\" is not below PK2 (175)")) << run.err;
    EXPECT_NE(run.err.find("\nerror: invalid-argument: "), std::string::npos) << run.err;
    EXPECT_EQ(lineCount(run.err), 2u);
}

TEST(Tool, NetAreaOfAnEmptyGrossAreaIsATypeMismatch) {
    const ToolRun run = runTool({"net-area"}, "dpxs=0.96\ntxjmj=kept\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(fieldText(run.out, "txjmj"), "kept");
    EXPECT_TRUE(run.err.starts_with("error: type-mismatch: ")) << run.err;
}

TEST(Tool, CsvBatchQuotesRoundTripAndKeepsGoingAfterAFailingRow) {
    const std::string text1 = "Model \"A\", rev 2\nline two";
    const std::string input =
        "\xEF\xBB\xBF"
        "Text1,D,PK1,PK2,PK3,PK4,PK5,PK6,dpxs,H,M,Z\r\n"
        "\"Model \"\"A\"\", rev 2\nline two\",200,190,175,155,130,100,65,0.97,600,420,3\r\n"
        "bad,200,190,175,300,,,,0.97,600,420,3\r\n"
        "plain,200,190,175,155,130,100,65,0.96,600,420,3\r\n";
    const ToolRun run =
        runTool({"--csv", "stages", "gross-area", "net-area", "stack", "weight"}, input);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.starts_with("warning: line 4: PK3: \"300\" is not below PK2 (175)"))
        << run.err;
    EXPECT_NE(run.err.find("\nkalvitra-cli: 1 of 3 rows failed; first at line 4: error: "
                           "invalid-argument: "),
              std::string::npos)
        << run.err;
    const std::string tail =
        "0062.45,0017.19,0014.78,0012.80,0010.61,0007.97,0,0,0,"
        "17.19,14.78,12.8,10.61,7.97,0,0,0,289.499,";
    EXPECT_EQ(run.out,
              "Text1,Text2,TXJS,D,H,M,Z,MD,dpxs,PK1,PK2,PK3,PK4,PK5,PK6,PK7,PK8,PK9,"
              "jh1,jh2,jh3,jh4,jh5,jh6,jh7,jh8,jh9,jh22,jh32,jh42,jh52,jh62,jh72,jh82,jh92,"
              "txmj,txjmj,dh,txz,error\n"
              "\"Model \"\"A\"\", rev 2\nline two\",,,200,600,420,3,7.65,0.97,"
              "190,175,155,130,100,65,,,," +
                  tail + "280.81403,189.15,834.9353444385,\n" +
                  "bad,,,200,600,420,3,7.65,0.97,190,175,300,,,,,,,"
                  "0062.45,0017.19,,,,,,,,,,,,,,,,,,,,invalid-argument\n"
                  "plain,,,200,600,420,3,7.65,0.96,190,175,155,130,100,65,,,," +
                  tail + "277.91904,189.15,826.327763568,\n");

    // Reading the output back gives the same Text1, line break and all.
    const std::size_t rowStart = run.out.find('\n') + 1;
    const ToolRun again =
        runTool({"--csv", "stack"},
                "Text1\n" + run.out.substr(rowStart, run.out.find(",,,") - rowStart) + "\n");
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_TRUE(again.out.find("\n\"Model \"\"A\"\", rev 2\nline two\",") != std::string::npos);
}

struct BadUse {
    const char* name;
    std::vector<std::string> args;
    std::string input;
    std::string message;  // the whole of standard error
    friend void PrintTo(const BadUse& testCase, std::ostream* os) { *os << testCase.name; }
};

class ToolBadUse : public testing::TestWithParam<BadUse> {};

TEST_P(ToolBadUse, ExitsTwoWithOneLineAndNoOutput) {
    const ToolRun run = runTool(GetParam().args, GetParam().input);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, GetParam().message + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToolBadUse,
    testing::Values(
        BadUse{"NoAction",
               {},
               "D=1\n",
               "kalvitra-cli: no ACTION given; name at least one of stages, gross-area, net-area, "
               "stack, weight; see kalvitra-cli --help"},
        BadUse{"UnknownAction",
               {"stages", "area"},
               "D=1\n",
               "kalvitra-cli: ACTION: unknown action \"area\" (known: stages, gross-area, "
               "net-area, stack, weight); see kalvitra-cli --help"},
        BadUse{"ActionNamesAreCaseSensitive",
               {"Stages"},
               "",
               "kalvitra-cli: ACTION: unknown action \"Stages\" (known: stages, gross-area, "
               "net-area, stack, weight); see kalvitra-cli --help"},
        BadUse{"MisspeltOption",
               {"--tsv", "stages"},
               "",
               "kalvitra-cli: unknown option \"--tsv\" (did you mean --csv?); see kalvitra-cli "
               "--help"},
        BadUse{"UnknownField",
               {"stages"},
               "D=200\nDiameter=200\n",
               "kalvitra-cli: line 2: unknown field \"Diameter\""},
        BadUse{"LineWithoutEquals",
               {"stages"},
               "D=200\r\n\r\nPK1:190\r\n",
               "kalvitra-cli: line 3: expected NAME=TEXT, found no '=' in \"PK1:190\""},
        BadUse{"FieldGivenTwice",
               {"stages"},
               "PK1=190\nD=200\nPK1=180\n",
               "kalvitra-cli: line 3: field PK1 given twice (first on line 1)"},
        BadUse{"InvalidUtf8",
               {"stages"},
               "D=200\nText1=\xB1\xE4\n",
               "kalvitra-cli: line 2: invalid UTF-8 at byte 7 of the line"},
        BadUse{"CsvEmptyInput",
               {"--csv", "stages"},
               "",
               "kalvitra-cli: line 1: no header row: the input is empty"},
        BadUse{"CsvUnknownColumn",
               {"--csv", "stages"},
               "D,PK1,diameter\n1,2,3\n",
               "kalvitra-cli: line 1: unknown column \"diameter\""},
        BadUse{"CsvDuplicateColumn",
               {"--csv", "stages"},
               "D,PK1,D\n",
               "kalvitra-cli: line 1: column D given twice"},
        BadUse{"CsvWithoutTheOption",
               {"stages"},
               "\xEF\xBB\xBF\"D\",\xE7\xAC\xAC\xE4\xB8\x80\xE7\xBA\xA7 "
               "\xE7\x89\x87\xE5\xAE\xBD\r\n200,190\r\n",
               "kalvitra-cli: line 1: expected NAME=TEXT, found no '=' in \"\\\"D\\\",\xE7\xAC\xAC"
               "\xE4\xB8\x80\xE7\xBA\xA7 \xE7\x89\x87\xE5\xAE\xBD\" (a CSV table? use --csv)"},
        // A spreadsheet's "CSV" on a Chinese desktop: GBK text in the fourth row.
        BadUse{
            "CsvTableInGbk",
            {"--csv", "stages"},
            "Text1,D,PK1\nA,200,190\nB,200,190\nC,200,190\n\xB1\xE4\xD1\xB9\xC6\xF7,200,190\n",
            "kalvitra-cli: line 5: invalid UTF-8 in field 1 (the table must be UTF-8: save it as "
            "\"CSV UTF-8\")"}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadTable {
    const char* name;
    std::string input;
    std::string message;
    friend void PrintTo(const BadTable& testCase, std::ostream* os) { *os << testCase.name; }
};

class ToolBadCsvRow : public testing::TestWithParam<BadTable> {};

// Rows stream out as they are done, so the rows before the bad line are there.
TEST_P(ToolBadCsvRow, ExitsTwoAfterTheRowsBeforeIt) {
    const ToolRun run = runTool({"--csv", "stack"}, GetParam().input);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(lineCount(run.out), 2u) << "header and the one good row";
    EXPECT_TRUE(run.out.ends_with("\n5,,,,,,,7.65,,,,,,,,,,,5,,,,,,,,,,,,,,,,,,,5,,\n")) << run.out;
    EXPECT_EQ(run.err, GetParam().message + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToolBadCsvRow,
    testing::Values(BadTable{"UnterminatedQuote", "Text1,jh1\n5,5\n\"x,5\n6,6\n",
                             "kalvitra-cli: line 3: quoted field is never closed"},
                    BadTable{"WrongFieldCount", "Text1,jh1\n5,5\n6\n",
                             "kalvitra-cli: line 3: row has 1 field, the header has 2"},
                    BadTable{"TextAfterClosingQuote", "Text1,jh1\n5,5\n\"6\"7,6\n",
                             "kalvitra-cli: line 3: text after the closing quote of a field"}),
    [](const auto& info) { return std::string(info.param.name); });

// Bytes pass through as they are on every system: the Windows C runtime's
// text mode would end the input at Ctrl-Z, drop or add carriage returns, and
// its ANSI argv would turn characters it cannot hold into '?'.
struct ExactBytes {
    const char* name;
    std::vector<std::string> args;
    std::string input;
    int status;
    std::string outPart;  // somewhere in standard output, "" for none at all
    std::string errPart;  // somewhere in standard error, "" for none at all
    friend void PrintTo(const ExactBytes& testCase, std::ostream* os) { *os << testCase.name; }
};

class ToolExactBytes : public testing::TestWithParam<ExactBytes> {};

TEST_P(ToolExactBytes, PassesBytesThroughUnchanged) {
    const ExactBytes& expected = GetParam();
    const ToolRun run = runTool(expected.args, expected.input);
    EXPECT_EQ(run.status, expected.status) << run.err;
    if (expected.outPart.empty()) {
        EXPECT_EQ(run.out, "");
    } else {
        EXPECT_NE(run.out.find(expected.outPart), std::string::npos) << run.out;
    }
    if (expected.errPart.empty()) {
        EXPECT_EQ(run.err, "");
    } else {
        EXPECT_NE(run.err.find(expected.errPart), std::string::npos) << run.err;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToolExactBytes,
    testing::Values(
        ExactBytes{"CtrlZInsideATextIsKept",
                   {"stack"},
                   "Text1=a\x1A"
                   "b\nD=1\n",
                   0,
                   "Text1=a\x1A"
                   "b\nText2=\n",
                   ""},
        ExactBytes{"CtrlZInATableIsKept",
                   {"--csv", "stack"},
                   "Text1,jh1\n\x1A,5\n6,6\n",
                   0,
                   "\n\x1A,,,,,,,7.65,,,,,,,,,,,5,,,,,,,,,,,,,,,,,,,5,,\n6,",
                   ""},
        ExactBytes{"CarriageReturnsInsideATextAreKept",
                   {"stack"},
                   "Text1=x\ry\r\r\nD=1\r\n",
                   0,
                   // a text ending in CR gets one more, so that it reads back whole
                   "Text1=x\ry\r\r\nText2=\nTXJS=\nD=1\n",
                   ""},
        ExactBytes{"CsvOutputLinesEndInLineFeeds",
                   {"--csv", "stack"},
                   "Text1,jh1\r\n\"a\r\nb\",1\r\n",
                   0,
                   "\"a\r\nb\",,,,,,,7.65,,,,,,,,,,,1,,,,,,,,,,,,,,,,,,,1,,\n",
                   ""},
        ExactBytes{"ByteOrderMarkSkipped", {"stack"}, "\xEF\xBB\xBFjh1=2\n", 0, "\ndh=2\n", ""},
        ExactBytes{"SlashOptionIsAnUnknownActionEverywhere",
                   {"/csv", "stack"},
                   "Text1\nx\n",
                   2,
                   "",
                   "unknown action \"/csv\""},
        ExactBytes{"ArgumentsArriveInUtf8",
                   {"\xE5\x8F\xA0\xE7\x89\x87\xCE\xA9"},
                   "",
                   2,
                   "",
                   "unknown action \"\xE5\x8F\xA0\xE7\x89\x87\xCE\xA9\""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Tool, HelpAndVersionExitZero) {
    const ToolRun version = runTool({"--version"}, "");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("kalvitra-cli ") + KALVITRA_CLI_VERSION + "\n");

    const ToolRun help = runTool({"--help"}, "");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    for (const char* mentioned : {"Usage:", "--csv", "gross-area", "EXIT STATUS"}) {
        EXPECT_NE(help.out.find(mentioned), std::string::npos) << mentioned;
    }
    EXPECT_EQ(help.out.find("REQUIRED"), std::string::npos) << "CLI11's own words stay out";
}

// For a spreadsheet on a Chinese desktop: columns headed by the fields'
// Chinese labels in and out, a byte order mark for Excel, strict rows.
TEST(Tool, TableForAChineseSpreadsheet) {
    const ToolRun run = runTool({"--csv", "--strict", "--header", "zh", "--bom", "stages"},
                                "铁心直径(mm),第一级 片宽\n200mm,190\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.starts_with("\xEF\xBB\xBF产品型号,工号,级数,铁心直径(mm),")) << run.out;
    EXPECT_NE(run.out.find(",第二级 级厚（另一侧）,"), std::string::npos);
    EXPECT_TRUE(run.out.ends_with(",错误\n,,,200mm,,,,7.65,,190" + std::string(30, ',') +
                                  "lenient-input\n"))
        << run.out;
    EXPECT_TRUE(run.err.starts_with("error: lenient-input: line 2: D: \"200mm\" read as 200\n"))
        << run.err;
}

// A full disk or a closed pipe must not pass for success.
TEST(Tool, OutputThatCannotBeWrittenIsAFailure) {
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    const fs::path full = "/dev/full";
    TempFile sheet;
    sheet.write(kSixStageSheet);
    const ToolRun single = runToolWithPaths({"stages"}, sheet.path(), &full);
    EXPECT_EQ(single.status, 2);
    EXPECT_TRUE(single.err.starts_with("kalvitra-cli: cannot write to standard output"))
        << single.err;

    TempFile table;
    table.write("D,PK1\n200,190\n");
    const ToolRun csv = runToolWithPaths({"--csv", "stages"}, table.path(), &full);
    EXPECT_EQ(csv.status, 2);
    EXPECT_TRUE(csv.err.starts_with("kalvitra-cli: cannot write to standard output")) << csv.err;
}

TEST(Tool, InputThatCannotBeReadIsAFailure) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows cannot hand a program a folder as its standard input";
#endif
    const fs::path directory = fs::temp_directory_path();
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"stages"}, std::vector<std::string>{"--csv", "stages"}}) {
        const ToolRun run = runToolWithPaths(args, directory, nullptr);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(run.err.starts_with("kalvitra-cli: cannot read standard input")) << run.err;
    }
}

}  // namespace
