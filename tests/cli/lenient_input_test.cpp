// What the batch tool does about fields the actions read leniently: it warns
// and leaves everything else as it was, or with --strict refuses the sheet.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "batch.h"
#include "kalvitra/sheet/sheet_text.h"

namespace kalvitra::cli {
namespace {

const std::vector<Action> kActions(kAllActions.begin(), kAllActions.end());

// Every kind of lenient reading; the fourth sheet fails in an action.
const std::vector<std::string> kLenientSheets = {
    "D=200mm\nPK1=190\nPK2=175\nPK3=155\ndpxs=0,96\nH=1 000\nM=420\nZ=\n",
    "D=200\nPK1=\xEF\xBC\x91\xEF\xBC\x99\xEF\xBC\x90\nPK2=175\nH=600\nM=420\nZ=3\ndpxs=0.96\n",
    "D=200\nPK1=190\nPK3=150\nH=600\nM=420\nZ=3\nMD=\ndpxs=0.96\n",
    "D=200\nPK1=190\nPK2=300\ndpxs=.96\n",
};

// The warnings go to standard error alone: the sheet written and the exit
// status are those of the actions run on their own, byte for byte. (A
// table's rows: Tool.CsvBatchQuotesRoundTripAndKeepsGoingAfterAFailingRow.)
TEST(LenientInput, WarningsLeaveOutputAndStatusAsTheActionsGive) {
    for (const std::string& lines : kLenientSheets) {
        Sheet sheet;
        ASSERT_FALSE(readSheetLines(lines, sheet));
        int expectedStatus = kExitSuccess;
        try {
            for (const Action action : kActions) {
                runAction(action, sheet);
            }
        } catch (const CalcError&) {
            expectedStatus = kExitCalculationFailed;
        }
        std::string expected;
        appendSheetLines(sheet, expected);

        std::string output;
        std::string diagnostics;
        EXPECT_EQ(runSheetBatch(lines, kActions, output, diagnostics), expectedStatus) << lines;
        EXPECT_EQ(output, expected) << lines;
        EXPECT_TRUE(diagnostics.starts_with("warning: ")) << lines;
    }
}

TEST(LenientInput, StrictRefusesTheSheetAsReadWithTheSameMessages) {
    const std::string& lines = kLenientSheets[0];
    std::string warnings;
    std::string ignored;
    runSheetBatch(lines, kActions, ignored, warnings);

    std::string output;
    std::string errors;
    EXPECT_EQ(runSheetBatch(lines, kActions, output, errors, {.strict = true}),
              kExitCalculationFailed);
    Sheet asRead;
    readSheetLines(lines, asRead);
    std::string expected;
    appendSheetLines(asRead, expected);
    EXPECT_EQ(output, expected) << "refused before any action runs";
    for (std::size_t at = 0; (at = warnings.find("warning: ", at)) != std::string::npos;) {
        warnings.replace(at, 9, "error: lenient-input: ");
    }
    EXPECT_EQ(errors, warnings);
}

}  // namespace
}  // namespace kalvitra::cli
