#include "csv.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace kalvitra::cli {
namespace {

using namespace std::string_literals;
using Records = std::vector<std::vector<std::string>>;

struct ReadOutcome {
    Records records;
    bool malformed = false;
    InputError error;
};

// Reads everything, handing the reader its input in pieces of piece bytes
// through a buffer of chunkSize bytes, so records and quotes get cut at
// every place a pipe could cut them.
ReadOutcome readAllRecords(std::string_view input, std::size_t piece, std::size_t chunkSize,
                           std::size_t maxRecordSize = CsvReader::kDefaultMaxRecordSize) {
    StringSource source(input, piece);
    CsvReader reader(source, chunkSize, maxRecordSize);
    ReadOutcome outcome;
    for (;;) {
        const CsvReader::Result result = reader.next();
        if (result == CsvReader::Result::End) {
            return outcome;
        }
        if (result == CsvReader::Result::Malformed) {
            outcome.malformed = true;
            outcome.error = reader.error();
            EXPECT_EQ(reader.next(), CsvReader::Result::Malformed)
                << "a failed reader stays failed";
            return outcome;
        }
        std::vector<std::string>& record = outcome.records.emplace_back();
        for (std::size_t i = 0; i < reader.fieldCount(); ++i) {
            record.emplace_back(reader.field(i));
        }
    }
}

struct Slicing {
    std::size_t piece;
    std::size_t chunkSize;
};

constexpr Slicing kSlicings[] = {{1, 1}, {1, 4},
                                 {2, 3}, {3, 64},
                                 {7, 5}, {std::string_view::npos, CsvReader::kDefaultChunkSize}};

struct GoodCsvCase {
    const char* name;
    std::string input;
    Records records;
    friend void PrintTo(const GoodCsvCase& testCase, std::ostream* os) { *os << testCase.name; }
};

class CsvReaderGood : public testing::TestWithParam<GoodCsvCase> {};

TEST_P(CsvReaderGood, ReadsTheSameRecordsHoweverTheInputIsCut) {
    for (const Slicing slicing : kSlicings) {
        SCOPED_TRACE("piece " + std::to_string(slicing.piece) + ", chunk " +
                     std::to_string(slicing.chunkSize));
        const ReadOutcome outcome =
            readAllRecords(GetParam().input, slicing.piece, slicing.chunkSize);
        ASSERT_FALSE(outcome.malformed) << outcome.error.describe();
        EXPECT_EQ(outcome.records, GetParam().records);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, CsvReaderGood,
    testing::Values(
        GoodCsvCase{"Empty", "", {}},
        GoodCsvCase{"Simple", "D,PK1\n200,190\n", {{"D", "PK1"}, {"200", "190"}}},
        GoodCsvCase{"NoFinalLineBreak", "D,PK1\n200,190", {{"D", "PK1"}, {"200", "190"}}},
        GoodCsvCase{"CrLf", "D,PK1\r\n200,190\r\n", {{"D", "PK1"}, {"200", "190"}}},
        GoodCsvCase{"CarriageReturnAtVeryEnd", "D\r\n200\r", {{"D"}, {"200"}}},
        GoodCsvCase{"ByteOrderMarkSkipped",
                    "\xEF\xBB\xBF"
                    "D\n1\n",
                    {{"D"}, {"1"}}},
        GoodCsvCase{"SecondByteOrderMarkIsData",
                    "\xEF\xBB\xBF\xEF\xBB\xBF"
                    "D",
                    {{"\xEF\xBB\xBF"
                      "D"}}},
        GoodCsvCase{"EmptyFields", ",,\na,\n,b", {{"", "", ""}, {"a", ""}, {"", "b"}}},
        GoodCsvCase{"EmptyLinesSkipped", "\n\nD\n\n1\r\n\r\n2\n\n", {{"D"}, {"1"}, {"2"}}},
        GoodCsvCase{"QuotedEmptyIsARecord", "D\n\"\"\n", {{"D"}, {""}}},
        GoodCsvCase{"BlanksAreData", " a , b \n", {{" a ", " b "}}},
        GoodCsvCase{"QuotedSpecials",
                    "\"x,y\",\"say \"\"hi\"\"\",\"l1\nl2\",\"c\r\nd\",\"\"\"\"\n",
                    {{"x,y", "say \"hi\"", "l1\nl2", "c\r\nd", "\""}}},
        GoodCsvCase{"QuotedAtEndOfInput", "\"abc\"", {{"abc"}}},
        GoodCsvCase{"QuotedThenCrLf", "\"a\"\r\n\"b\",c", {{"a"}, {"b", "c"}}},
        GoodCsvCase{"Utf8AndNulAreData", "\xE5\x8F\x98,a\0b\n"s, {{"\xE5\x8F\x98", "a\0b"s}}}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadCsvCase {
    const char* name;
    std::string input;
    std::size_t recordsBefore;
    std::size_t line;
    std::string problem;
    friend void PrintTo(const BadCsvCase& testCase, std::ostream* os) { *os << testCase.name; }
};

class CsvReaderBad : public testing::TestWithParam<BadCsvCase> {};

TEST_P(CsvReaderBad, StopsWithTheProblemAndItsLine) {
    for (const Slicing slicing : kSlicings) {
        SCOPED_TRACE("piece " + std::to_string(slicing.piece) + ", chunk " +
                     std::to_string(slicing.chunkSize));
        const ReadOutcome outcome =
            readAllRecords(GetParam().input, slicing.piece, slicing.chunkSize);
        ASSERT_TRUE(outcome.malformed);
        EXPECT_EQ(outcome.records.size(), GetParam().recordsBefore);
        EXPECT_EQ(outcome.error.line, GetParam().line);
        EXPECT_EQ(outcome.error.problem, GetParam().problem);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, CsvReaderBad,
    testing::Values(
        BadCsvCase{"UnterminatedQuoteNamesWhereItOpened", "D\n\"200\n1\n2\n", 1, 2,
                   "quoted field is never closed"},
        BadCsvCase{"TextAfterClosingQuote", "D,H\n1,\"2\"x\n", 1, 2,
                   "text after the closing quote of a field"},
        BadCsvCase{"BlankAfterClosingQuote", "\"a\" ,b\n", 0, 1,
                   "text after the closing quote of a field"},
        BadCsvCase{"QuoteInsideUnquotedField", "Text1\n12\" pipe\n", 1, 2,
                   "quote inside an unquoted field (put the field in quotes and double the "
                   "quote)"},
        BadCsvCase{"BareCarriageReturn", "D\r1\r", 0, 1,
                   "carriage return without line feed outside quotes"},
        BadCsvCase{"BareCarriageReturnOnEmptyLine", "D\n\r\r\n", 1, 2,
                   "carriage return without line feed outside quotes"},
        BadCsvCase{"InvalidUtf8NamesFieldAndLine", "D,Text1\n1,ok\xFF\n", 1, 2,
                   "invalid UTF-8 in field 2"},
        BadCsvCase{"InvalidUtf8OnLaterLineOfQuotedField", "Text1\n\"a\nb\nc\xC0\xAF\"\n", 1, 4,
                   "invalid UTF-8 in field 1"},
        BadCsvCase{"SequenceCutByCommaIsInvalid", "\xC3,\xA9\n", 0, 1, "invalid UTF-8 in field 1"},
        BadCsvCase{"LineNumbersCountQuotedBreaksAndEmptyLines", "Text1,D\n\"x\r\ny\",1\n\n\"open\n",
                   2, 5, "quoted field is never closed"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CsvReader, TellsOnWhichLineEachRecordAndFieldStarts) {
    StringSource source("a,\"x\ny\",b\n\nc,d,e");
    CsvReader reader(source);
    ASSERT_EQ(reader.next(), CsvReader::Result::Record);
    EXPECT_EQ(reader.recordLine(), 1u);
    EXPECT_EQ(reader.fieldLine(1), 1u);
    EXPECT_EQ(reader.fieldLine(2), 2u);
    ASSERT_EQ(reader.next(), CsvReader::Result::Record);
    EXPECT_EQ(reader.recordLine(), 4u);
    EXPECT_EQ(reader.next(), CsvReader::Result::End);
    EXPECT_EQ(reader.next(), CsvReader::Result::End);
}

TEST(CsvReader, RefusesARecordBeyondTheSizeLimitInsteadOfSwallowingTheInput) {
    const std::string input = "D\n1\n\"" + std::string(100, 'x') + "\n";
    const ReadOutcome outcome = readAllRecords(input, 7, 16, 64);
    ASSERT_TRUE(outcome.malformed);
    EXPECT_EQ(outcome.records.size(), 2u);
    EXPECT_EQ(outcome.error.line, 3u);
    EXPECT_EQ(outcome.error.problem, "row is longer than 64 bytes (is a quote left open?)");

    // Separators count: 63 bytes of text and one comma are the most a row may hold.
    const ReadOutcome atLimit = readAllRecords(std::string(63, 'x') + ",", 7, 16, 64);
    EXPECT_FALSE(atLimit.malformed) << atLimit.error.describe();
    EXPECT_TRUE(readAllRecords(std::string(64, 'x') + ",", 7, 16, 64).malformed);
    EXPECT_TRUE(readAllRecords(std::string(100, ','), 7, 16, 64).malformed);
}

struct FieldCase {
    const char* name;
    std::string text;
    std::string written;
    friend void PrintTo(const FieldCase& testCase, std::ostream* os) { *os << testCase.name; }
};

class AppendCsvField : public testing::TestWithParam<FieldCase> {};

TEST_P(AppendCsvField, QuotesOnlyWhatNeedsIt) {
    std::string out = "x,";
    appendCsvField(out, GetParam().text);
    EXPECT_EQ(out, "x," + GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(Texts, AppendCsvField,
                         testing::Values(FieldCase{"Empty", "", ""},
                                         FieldCase{"Number", "0062.45", "0062.45"},
                                         FieldCase{"Blanks", " a b ", " a b "},
                                         FieldCase{"Comma", "1,5", "\"1,5\""},
                                         FieldCase{"Quote", "12\" pipe", "\"12\"\" pipe\""},
                                         FieldCase{"LineFeed", "a\nb", "\"a\nb\""},
                                         FieldCase{"CarriageReturn", "a\r", "\"a\r\""},
                                         FieldCase{"OnlyQuotes", "\"\"", "\"\"\"\"\"\""}),
                         [](const auto& info) { return std::string(info.param.name); });

// Whatever texts a row holds, writing it and reading it back gives them again.
TEST(CsvRoundTrip, RandomRowsComeBackUnchanged) {
    const std::vector<std::string> alphabet = {
        "a", "7", ".", ",", "\"", "\r", "\n", "\r\n", " ", "\xE5\x8F\x98", std::string(1, '\0')};
    std::mt19937 random(20240611);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 6);

    Records rows;
    std::string csv;
    for (int row = 0; row < 300; ++row) {
        std::vector<std::string>& fields = rows.emplace_back();
        for (int column = 0; column < 3; ++column) {
            std::string text;
            for (int i = length(random); i > 0; --i) {
                text += alphabet[pick(random)];
            }
            appendCsvField(csv, text);
            csv += column < 2 ? ',' : '\n';
            fields.push_back(std::move(text));
        }
    }
    for (const Slicing slicing : kSlicings) {
        const ReadOutcome outcome = readAllRecords(csv, slicing.piece, slicing.chunkSize);
        ASSERT_FALSE(outcome.malformed) << outcome.error.describe();
        EXPECT_EQ(outcome.records, rows);
    }
}

}  // namespace
}  // namespace kalvitra::cli
