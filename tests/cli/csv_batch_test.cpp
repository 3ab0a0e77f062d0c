#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "batch.h"
#include "csv.h"

namespace kalvitra::cli {
namespace {

constexpr std::string_view kOutputHeader =
    "Text1,Text2,TXJS,D,H,M,Z,MD,dpxs,PK1,PK2,PK3,PK4,PK5,PK6,PK7,PK8,PK9,"
    "jh1,jh2,jh3,jh4,jh5,jh6,jh7,jh8,jh9,jh22,jh32,jh42,jh52,jh62,jh72,jh82,jh92,"
    "txmj,txjmj,dh,txz,error\n";

// One output row: the initial sheet with the given texts (already CSV-encoded)
// and the error column.
std::string outputRow(const std::map<std::string, std::string>& texts,
                      std::string_view error = "") {
    std::string row;
    std::string_view names = kOutputHeader.substr(0, kOutputHeader.find(",error"));
    while (!names.empty()) {
        const std::size_t comma = std::min(names.find(','), names.size());
        const std::string name(names.substr(0, comma));
        names.remove_prefix(std::min(comma + 1, names.size()));
        const auto given = texts.find(name);
        row += given != texts.end() ? given->second : name == "MD" ? "7.65" : "";
        row += ',';
    }
    row.append(error);
    row += '\n';
    return row;
}

struct BatchRun {
    int status;
    std::string output;
    std::string diagnostics;
};

BatchRun runCsv(std::string_view input, const std::vector<Action>& actions) {
    StringSource source(input);
    StringSink sink;
    BatchRun run;
    run.status = runCsvBatch(source, sink, actions, run.diagnostics);
    run.output = sink.text();
    return run;
}

TEST(CsvBatch, MapsAnySubsetOfColumnsInAnyOrderAndListsAllFields) {
    const BatchRun run =
        runCsv("txz,Text1,jh22,MD,jh1\nold,\"a,b\",7,8.1,5\n", {Action::TotalStack});
    EXPECT_EQ(run.status, kExitSuccess);
    EXPECT_EQ(run.diagnostics, "");
    EXPECT_EQ(run.output, std::string(kOutputHeader) + outputRow({{"Text1", "\"a,b\""},
                                                                  {"MD", "8.1"},
                                                                  {"jh1", "5"},
                                                                  {"jh22", "7"},
                                                                  {"dh", "12"},
                                                                  {"txz", "old"}}));
}

TEST(CsvBatch, EveryRowStartsFromTheInitialSheetAndAFailingRowStopsNoOther) {
    const BatchRun run =
        runCsv("D,PK1,PK2\n200,190,\n200,300,175\n200,,\n", {Action::StageThicknesses});
    EXPECT_EQ(run.status, kExitCalculationFailed);
    const std::map<std::string, std::string> zeroes = {
        {"jh3", "0"},  {"jh4", "0"},  {"jh5", "0"},  {"jh6", "0"},  {"jh7", "0"},
        {"jh8", "0"},  {"jh9", "0"},  {"jh32", "0"}, {"jh42", "0"}, {"jh52", "0"},
        {"jh62", "0"}, {"jh72", "0"}, {"jh82", "0"}, {"jh92", "0"}};
    auto first = zeroes;
    first.insert({{"D", "200"}, {"PK1", "190"}, {"jh1", "0062.45"}, {"jh2", "0"}, {"jh22", "0"}});
    auto third = zeroes;
    third.insert({{"D", "200"}, {"jh1", "0"}, {"jh2", "0"}, {"jh22", "0"}});
    // The failing row stops in stage 1: nothing of the first row shows through.
    const std::string failing =
        outputRow({{"D", "200"}, {"PK1", "300"}, {"PK2", "175"}}, "invalid-argument");
    EXPECT_EQ(run.output,
              std::string(kOutputHeader) + outputRow(first) + failing + outputRow(third));
    EXPECT_TRUE(run.diagnostics.starts_with(
        "kalvitra-cli: 1 of 3 rows failed; first at line 3: error: invalid-argument: "))
        << run.diagnostics;
    EXPECT_EQ(std::count(run.diagnostics.begin(), run.diagnostics.end(), '\n'), 1);
}

TEST(CsvBatch, HeaderOnlyGivesHeaderOnly) {
    const BatchRun run = runCsv("D,H\r\n", {Action::CoreWeight});
    EXPECT_EQ(run.status, kExitSuccess);
    EXPECT_EQ(run.output, kOutputHeader);
}

struct BadTableCase {
    const char* name;
    std::string input;
    int rowsWritten;  // rows before the bad line, already on the output; -1: not even the header
    std::string message;
    friend void PrintTo(const BadTableCase& testCase, std::ostream* os) { *os << testCase.name; }
};

class CsvBatchBadTable : public testing::TestWithParam<BadTableCase> {};

TEST_P(CsvBatchBadTable, StopsWithExitTwoNamingTheLine) {
    const BatchRun run = runCsv(GetParam().input, {Action::TotalStack});
    EXPECT_EQ(run.status, kExitBadInput);
    EXPECT_EQ(run.diagnostics, "kalvitra-cli: " + GetParam().message + "\n");
    if (GetParam().rowsWritten < 0) {
        EXPECT_EQ(run.output, "");
    } else {
        EXPECT_TRUE(run.output.starts_with(kOutputHeader));
        EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'),
                  static_cast<std::ptrdiff_t>(GetParam().rowsWritten) + 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tables, CsvBatchBadTable,
    testing::Values(
        BadTableCase{"EmptyInput", "", -1, "line 1: no header row: the input is empty"},
        BadTableCase{"OnlyByteOrderMarkAndEmptyLines", "\xEF\xBB\xBF\n\r\n", -1,
                     "line 1: no header row: the input is empty"},
        BadTableCase{"UnknownColumn", "D,pk1\n1,2\n", -1, "line 1: unknown column \"pk1\""},
        BadTableCase{"EmptyColumnName", "D,,H\n", -1, "line 1: unknown column \"\""},
        BadTableCase{"ErrorColumnIsNoField", "D,error\n1,\n", -1,
                     "line 1: unknown column \"error\""},
        BadTableCase{"DuplicateColumn", "D,H,D\n", -1, "line 1: column D given twice"},
        BadTableCase{"ColumnNameWithLineBreak", "\"D\",\"\nH\"\n", -1,
                     "line 1: unknown column \"\\x0aH\""},
        BadTableCase{"MalformedHeader", "D,\"H\n", -1, "line 1: quoted field is never closed"},
        BadTableCase{"TooFewFields", "D,H\n1,2\n3\n", 1,
                     "line 3: row has 1 field, the header has 2"},
        BadTableCase{"TooManyFields", "D\n1\n2\n3,4\n", 2,
                     "line 4: row has 2 fields, the header has 1"},
        BadTableCase{"UnterminatedQuoteAfterRows", "D\n1\n\"2\n3\n", 1,
                     "line 3: quoted field is never closed"},
        BadTableCase{"FailedRowBeforeIsNotReportedAgain", "jh1\n1E400\n\"2\n", 1,
                     "line 3: quoted field is never closed"},
        BadTableCase{"MalformedBeforeWhatIsNotUtf8", "D\n1\n\"2\"x\n\xFF\n", -1,
                     "line 3: text after the closing quote of a field"}),
    [](const auto& info) { return std::string(info.param.name); });

// A table that is not UTF-8 is refused with nothing written when its first
// invalid byte is within the look-ahead, and stopped at its row after it.
struct NotUtf8Case {
    const char* name;
    std::string input;
    std::size_t lookAhead;
    int rowsWritten;      // -1: not even the header
    std::string message;  // empty: no refusal
    friend void PrintTo(const NotUtf8Case& testCase, std::ostream* os) { *os << testCase.name; }
};

class CsvBatchNotUtf8 : public testing::TestWithParam<NotUtf8Case> {};

TEST_P(CsvBatchNotUtf8, RefusesBeforeAnyRowOnlyWithinTheLookAhead) {
    for (const std::size_t piece : {std::size_t{1}, std::string_view::npos}) {
        StringSource source(GetParam().input, piece);
        StringSink sink;
        std::string diagnostics;
        const int status = runCsvBatch(source, sink, std::vector{Action::TotalStack}, diagnostics,
                                       {.lookAhead = GetParam().lookAhead});
        if (GetParam().message.empty()) {
            EXPECT_EQ(status, kExitSuccess) << diagnostics;
        } else {
            EXPECT_EQ(status, kExitBadInput);
            EXPECT_EQ(diagnostics, "kalvitra-cli: " + GetParam().message + "\n");
        }
        EXPECT_EQ(std::count(sink.text().begin(), sink.text().end(), '\n'),
                  GetParam().rowsWritten + 1);
    }
}

constexpr std::string_view kSaveAsUtf8 = " (the table must be UTF-8: save it as \"CSV UTF-8\")";

INSTANTIATE_TEST_SUITE_P(
    Tables, CsvBatchNotUtf8,
    testing::Values(
        NotUtf8Case{"GbkWithinTheLookAhead", "Text1\na\nb\n\xB1\xE4\n", 64, -1,
                    "line 4: invalid UTF-8 in field 1" + std::string(kSaveAsUtf8)},
        NotUtf8Case{"GbkAfterTheLookAhead", "Text1\na\nb\n\xB1\xE4\nc\n", 4, 2,
                    "line 4: invalid UTF-8 in field 1" + std::string(kSaveAsUtf8) +
                        "; 2 rows before it already written"},
        NotUtf8Case{"GbkInTheHeaderAfterTheLookAhead", "Text1,\xB1\xE4\n", 3, -1,
                    "line 1: invalid UTF-8 in field 2" + std::string(kSaveAsUtf8)},
        NotUtf8Case{"InvalidByteIsTheLookAheadsLast", "Text1\na\n\xFF\n", 9, -1,
                    "line 3: invalid UTF-8 in field 1" + std::string(kSaveAsUtf8)},
        NotUtf8Case{"LookAheadEndsInsideACharacter", "Text1\n\xE7\xBA\xA7\n", 8, 1, ""},
        NotUtf8Case{"CharacterCutByTheLookAheadIsBroken", "Text1\na\n\xE7\xBA,\n", 10, 1,
                    "line 3: invalid UTF-8 in field 1" + std::string(kSaveAsUtf8) +
                        "; 1 row before it already written"},
        NotUtf8Case{"WholeTableWithinTheLookAhead", "Text1\n\xE7\xBA\xA7\n", 64, 1, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// Hands out a string in small pieces and counts what it has handed out.
class CountingSource final : public ByteSource {
public:
    explicit CountingSource(std::string_view data) : source_(data, 1000) {}
    std::size_t read(char* buffer, std::size_t capacity) override {
        const std::size_t count = source_.read(buffer, capacity);
        handedOut += count;
        return count;
    }
    std::size_t handedOut = 0;

private:
    StringSource source_;
};

// Remembers how large each piece handed to it was.
// Remembers how large each piece handed to it was, and how much of the
// input had been read when the first came.
class PieceSink final : public ByteSink {
public:
    explicit PieceSink(const CountingSource& source) : source_(source) {}
    void write(std::string_view bytes) override {
        if (text.empty()) {
            readBeforeFirstPiece = source_.handedOut;
        }
        largest = std::max(largest, bytes.size());
        text.append(bytes);
    }
    std::size_t largest = 0;
    std::size_t readBeforeFirstPiece = 0;
    std::string text;

private:
    const CountingSource& source_;
};

TEST(CsvBatch, StreamsManyRowsInBoundedPieces) {
    constexpr int kRows = 20000;
    std::string input = "Text1,jh1,jh2\n";
    for (int i = 0; i < kRows; ++i) {
        input += "\"row " + std::to_string(i) + "\",1,2\n";
    }
    CountingSource source(input);
    PieceSink sink(source);
    std::string diagnostics;
    ASSERT_EQ(runCsvBatch(source, sink, std::vector<Action>{Action::TotalStack}, diagnostics),
              kExitSuccess);
    EXPECT_LE(sink.largest, 80u * 1024) << "output must not pile up in memory";
    // A table that comes slowly has its first rows out long before its end.
    EXPECT_LE(sink.readBeforeFirstPiece, kUtf8LookAhead + 32u * 1024);
    EXPECT_GT(input.size(), 4 * kUtf8LookAhead);
    EXPECT_EQ(std::count(sink.text.begin(), sink.text.end(), '\n'), kRows + 1);
    EXPECT_TRUE(sink.text.ends_with(
        outputRow({{"Text1", "row 19999"}, {"jh1", "1"}, {"jh2", "2"}, {"dh", "3"}})));
}

}  // namespace
}  // namespace kalvitra::cli
