// What the batch tool does about fields the actions read leniently: it warns
// and leaves everything else as it was, or with --strict refuses the sheet.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "batch.h"
#include "csv.h"
#include "kalvitra/sheet_text.h"

namespace kalvitra::cli {
namespace {

const std::vector<Action> kActions(kAllActions.begin(), kAllActions.end());

// Sheets with every kind of lenient reading, two of them failing in an action.
const std::vector<std::string> kLenientSheets = {
    "D=200mm\nPK1=190\nPK2=175\nPK3=155\ndpxs=0,96\nH=1 000\nM=420\nZ=\n",
    "D=200\nPK1=\xEF\xBC\x91\xEF\xBC\x99\xEF\xBC\x90\nPK2=175\nH=600\nM=420\nZ=3\ndpxs=0.96\n",
    "D=200\nPK1=190\nPK3=150\nH=600\nM=420\nZ=3\nMD=\ndpxs=0.96\n",
    "D=200\nPK1=190\nPK2=300\ndpxs=.96\n",
    "D=200\nPK1=100\nPK2=150\nH=600\nM=420\nZ=3\ndpxs=0.97\njh22=5\n",
};

// What the calculation alone gives: the sheet after the actions, and the
// kind of the error that stopped them.
struct Calculated {
    Sheet sheet;
    std::string error;
};

Calculated calculate(const std::string& lines) {
    Calculated result;
    EXPECT_FALSE(readSheetLines(lines, result.sheet));
    try {
        for (const Action action : kActions) {
            runAction(action, result.sheet);
        }
    } catch (const CalcError& error) {
        result.error = errorKindName(error.kind());
    }
    return result;
}

// The sheets as one table with a column for every field.
std::string tableOf(const std::vector<Sheet>& sheets) {
    std::string table;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        table += std::string(i == 0 ? "" : ",") + std::string(fieldName(fieldAt(i)));
    }
    for (const Sheet& sheet : sheets) {
        table += '\n';
        for (std::size_t i = 0; i < kFieldCount; ++i) {
            table += i == 0 ? "" : ",";
            appendCsvField(table, sheet.textRef(fieldAt(i)));
        }
    }
    return table + '\n';
}

std::size_t lineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

// The warnings go to standard error alone: the sheets written and the exit
// status are those of the calculation, byte for byte.
TEST(LenientInput, WarningsLeaveOutputAndStatusAsTheCalculationGives) {
    std::vector<Sheet> inputs;
    std::string expectedRows;
    std::size_t failures = 0;
    for (const std::string& lines : kLenientSheets) {
        const Calculated calculated = calculate(lines);
        std::string output;
        std::string diagnostics;
        const int status = runSheetBatch(lines, kActions, output, diagnostics);
        std::string expected;
        appendSheetLines(calculated.sheet, expected);
        EXPECT_EQ(output, expected) << lines;
        EXPECT_EQ(status, calculated.error.empty() ? kExitSuccess : kExitCalculationFailed);
        EXPECT_TRUE(diagnostics.starts_with("warning: ")) << lines;

        inputs.emplace_back();
        readSheetLines(lines, inputs.back());
        for (std::size_t i = 0; i < kFieldCount; ++i) {
            appendCsvField(expectedRows, calculated.sheet.textRef(fieldAt(i)));
            expectedRows += ',';
        }
        expectedRows += calculated.error + '\n';
        failures += calculated.error.empty() ? 0 : 1;
    }

    const std::string table = tableOf(inputs);
    StringSource source(table);
    StringSink sink;
    std::string diagnostics;
    const int status = runCsvBatch(source, sink, kActions, diagnostics);
    EXPECT_EQ(sink.text(), table.substr(0, table.find('\n')) + ",error\n" + expectedRows);
    EXPECT_EQ(status, failures > 0 ? kExitCalculationFailed : kExitSuccess);
    EXPECT_TRUE(diagnostics.starts_with("warning: line 2: D: \"200mm\" read as 200\n"))
        << diagnostics;
}

TEST(LenientInput, StrictRefusesTheSheetAsReadWithTheSameMessages) {
    const std::string& lines = kLenientSheets[0];
    std::string warned;
    std::string ignored;
    runSheetBatch(lines, kActions, ignored, warned);

    std::string output;
    std::string diagnostics;
    const BatchOptions strict{.strict = true};
    EXPECT_EQ(runSheetBatch(lines, kActions, output, diagnostics, strict), kExitCalculationFailed);
    Sheet asRead;
    readSheetLines(lines, asRead);
    std::string expected;
    appendSheetLines(asRead, expected);
    EXPECT_EQ(output, expected) << "refused before any action runs";
    std::string errors = warned;
    for (std::size_t at = 0; (at = errors.find("warning: ", at)) != std::string::npos;) {
        errors.replace(at, 9, "error: lenient-input: ");
    }
    EXPECT_EQ(diagnostics, errors);
}

TEST(LenientInput, StrictTableMarksTheRowAndCalculatesTheOthers) {
    const std::string table =
        "D,PK1,PK2\n200,190,175\n200,190,\xEF\xBC\x91\xEF\xBC\x97\xEF\xBC\x95\n";
    StringSource source(table);
    StringSink sink;
    std::string diagnostics;
    EXPECT_EQ(runCsvBatch(source, sink, std::vector{Action::StageThicknesses}, diagnostics,
                          {.strict = true}),
              kExitCalculationFailed);
    EXPECT_NE(sink.text().find("\n,,,200,,,,7.65,,190,175,,,,,,,,0062.45,0017.19,"),
              std::string::npos);
    EXPECT_TRUE(sink.text().ends_with(
        "\n,,,200,,,,7.65,,190,\xEF\xBC\x91\xEF\xBC\x97\xEF\xBC\x95,,,,,,,,,,,,,,,,,,,,,,,,,,,,,"
        "lenient-input\n"));
    const std::string message = "PK2: \"\xEF\xBC\x91\xEF\xBC\x97\xEF\xBC\x95\" read as 0";
    EXPECT_EQ(diagnostics, "error: lenient-input: line 3: " + message +
                               "\nkalvitra-cli: 1 of 2 rows failed; first at line 3: error: "
                               "lenient-input: " +
                               message + "\n");
}

// For a spreadsheet on a Chinese desktop: columns headed by the fields'
// labels in, the labels and a byte order mark out.
TEST(ChineseTable, LabelsInAndOut) {
    const std::string table =
        "\xEF\xBB\xBF"
        "铁心直径(mm),第一级 片宽,jh22\n200,190,\n";
    StringSource source(table);
    StringSink sink;
    std::string diagnostics;
    const BatchOptions options{.header = HeaderWords::ChineseLabels, .byteOrderMark = true};
    ASSERT_EQ(
        runCsvBatch(source, sink, std::vector{Action::StageThicknesses}, diagnostics, options),
        kExitSuccess)
        << diagnostics;
    EXPECT_TRUE(sink.text().starts_with("\xEF\xBB\xBF产品型号,工号,级数,铁心直径(mm),"))
        << sink.text();
    EXPECT_NE(sink.text().find(",第二级 级厚（另一侧）,"), std::string::npos);
    EXPECT_NE(sink.text().find(",铁心重量(kg),错误\n,,,200,,,,7.65,,190,"), std::string::npos);
    EXPECT_EQ(lineCount(sink.text()), 2u);
}

// Above the size checked whole, the rows stream through as they are done,
// and the refusal says how many were written.
TEST(ChineseTable, LargeTableNotUtf8SaysHowManyRowsWereWritten) {
    const std::string table = "Text1\na\nb\n\xB1\xE4\n";
    StringSource source(table, 1);
    StringSink sink;
    std::string diagnostics;
    EXPECT_EQ(runCsvBatch(source, sink, std::vector{Action::TotalStack}, diagnostics,
                          {.wholeTableLimit = 4}),
              kExitBadInput);
    EXPECT_EQ(lineCount(sink.text()), 3u);
    EXPECT_EQ(diagnostics,
              "kalvitra-cli: line 4: invalid UTF-8 in field 1 (the table must be UTF-8: save it as "
              "\"CSV UTF-8\"); 2 rows before it already written\n");
}

}  // namespace
}  // namespace kalvitra::cli
