// The readers take any bytes: whatever comes in, they return a sheet or one
// readable line naming the problem, never a crash or a message with raw
// bytes in it. Inputs are random mixes of the pieces that matter to the
// parsers (names, separators, quotes, line ends, broken UTF-8).

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "batch.h"
#include "csv.h"
#include "kalvitra/sheet/sheet_text.h"
#include "kalvitra/text/utf8.h"

namespace kalvitra::cli {
namespace {

using namespace std::string_literals;

std::string randomInput(std::mt19937& random) {
    static const std::vector<std::string> pieces = {
        "D",    "PK1",  "jh1",  "MD",  "Text1", "=",    ",",     "\"",           "\"\"",
        "\n",   "\r",   "\r\n", " ",   "7",     ".5",   "1E400", "\xEF\xBB\xBF", "\xE5\x8F\x98",
        "\xFF", "\xC3", "\xA9", "\0"s, "x",     "error"};
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(0, 40);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string input;
    for (int i = length(random); i > 0; --i) {
        if (pick(random) == 0) {
            input += static_cast<char>(byte(random));
        } else {
            input += pieces[pick(random)];
        }
    }
    return input;
}

void expectOneReadableLine(const std::string& message) {
    EXPECT_FALSE(message.empty());
    EXPECT_EQ(message.find('\n'), std::string::npos) << message;
    EXPECT_EQ(message.find('\r'), std::string::npos) << message;
    EXPECT_TRUE(isValidUtf8(message)) << message;
}

class ArbitraryBytes : public testing::Test {
protected:
    static constexpr int kInputs = 4000;
    std::mt19937 random_{7};
};

TEST_F(ArbitraryBytes, SheetReaderGivesASheetOrAReadableProblem) {
    for (int i = 0; i < kInputs; ++i) {
        const std::string input = randomInput(random_);
        Sheet sheet;
        if (const std::optional<SheetTextError> problem = readSheetLines(input, sheet)) {
            const auto lines =
                static_cast<std::size_t>(std::count(input.begin(), input.end(), '\n'));
            EXPECT_GE(problem->line, 1u);
            EXPECT_LE(problem->line, lines + 1);
            expectOneReadableLine(problem->describe());
        }
    }
}

TEST_F(ArbitraryBytes, CsvReaderGivesValidFieldsOrAReadableProblem) {
    for (int i = 0; i < kInputs; ++i) {
        const std::string input = randomInput(random_);
        StringSource source(input, 3);
        CsvReader reader(source, 5);
        CsvReader::Result result;
        while ((result = reader.next()) == CsvReader::Result::Record) {
            for (std::size_t f = 0; f < reader.fieldCount(); ++f) {
                EXPECT_TRUE(isValidUtf8(reader.field(f)));
            }
        }
        if (result == CsvReader::Result::Malformed) {
            expectOneReadableLine(reader.error().describe());
        }
    }
}

TEST_F(ArbitraryBytes, BatchesKeepTheirExitContract) {
    const std::vector<Action> actions(kAllActions.begin(), kAllActions.end());
    for (int i = 0; i < kInputs; ++i) {
        const std::string input = randomInput(random_);

        std::string sheetOutput;
        std::string sheetDiagnostics;
        const int sheetStatus = runSheetBatch(input, actions, sheetOutput, sheetDiagnostics);
        ASSERT_TRUE(sheetStatus >= 0 && sheetStatus <= 2);
        if (sheetStatus == kExitBadInput) {
            EXPECT_EQ(sheetOutput, "");
        } else {
            EXPECT_EQ(std::count(sheetOutput.begin(), sheetOutput.end(), '\n'), 39);
        }

        StringSource source(input, 4);
        StringSink sink;
        std::string csvDiagnostics;
        const int csvStatus = runCsvBatch(source, sink, actions, csvDiagnostics);
        ASSERT_TRUE(csvStatus >= 0 && csvStatus <= 2);
        EXPECT_TRUE(isValidUtf8(sink.text()));
        // One readable line for each warning, and one for the failure.
        for (std::size_t end = 0, line = 0; line < csvDiagnostics.size(); line = end + 1) {
            end = csvDiagnostics.find('\n', line);
            ASSERT_NE(end, std::string::npos);
            expectOneReadableLine(csvDiagnostics.substr(line, end - line));
        }
        EXPECT_EQ(csvStatus != kExitSuccess,
                  csvDiagnostics.find("kalvitra-cli: ") != std::string::npos);
    }
}

}  // namespace
}  // namespace kalvitra::cli
