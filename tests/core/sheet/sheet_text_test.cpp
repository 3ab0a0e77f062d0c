#include "kalvitra/sheet/sheet_text.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <string_view>

namespace kalvitra {
namespace {

using namespace std::string_literals;

// Texts a reading must leave in the sheet; every other field keeps its
// initial text.
using FieldTexts = std::map<std::string, std::string>;

struct GoodCase {
    const char* name;
    std::string input;
    FieldTexts expected;
    friend void PrintTo(const GoodCase& testCase, std::ostream* os) { *os << testCase.name; }
};

class ReadSheetLinesGood : public testing::TestWithParam<GoodCase> {};

TEST_P(ReadSheetLinesGood, FillsExactlyTheGivenFields) {
    Sheet sheet;
    const std::optional<SheetTextError> problem = readSheetLines(GetParam().input, sheet);
    ASSERT_FALSE(problem) << problem->describe();

    Sheet expected;
    for (const auto& [name, text] : GetParam().expected) {
        expected.setText(*fieldByName(name), text);
    }
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        EXPECT_EQ(sheet.textRef(fieldAt(i)), expected.textRef(fieldAt(i))) << fieldName(fieldAt(i));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, ReadSheetLinesGood,
    testing::Values(
        GoodCase{"EmptyInputKeepsInitialSheet", "", {}},
        GoodCase{"WorkedExample",
                 "D=200\nPK1=190\nPK2=175\nPK3=155\nPK4=130\nPK5=100\nPK6=65\ndpxs=0.96\n",
                 {{"D", "200"},
                  {"PK1", "190"},
                  {"PK2", "175"},
                  {"PK3", "155"},
                  {"PK4", "130"},
                  {"PK5", "100"},
                  {"PK6", "65"},
                  {"dpxs", "0.96"}}},
        GoodCase{"CrLfLineEnds", "D=200\r\nMD=7.8\r\n", {{"D", "200"}, {"MD", "7.8"}}},
        GoodCase{"LastLineWithoutLineFeed", "D=1\nH=600", {{"D", "1"}, {"H", "600"}}},
        GoodCase{"OnlyOneTrailingCarriageReturnDropped", "Text1=a\r\r\n", {{"Text1", "a\r"}}},
        GoodCase{"CarriageReturnInsideTextKept", "Text1=a\rb\n", {{"Text1", "a\rb"}}},
        GoodCase{"TextIsEverythingAfterFirstEquals", "Text1=a=b==\n", {{"Text1", "a=b=="}}},
        GoodCase{"EmptyTextOverridesInitial", "MD=\n", {{"MD", ""}}},
        GoodCase{"BlanksAroundTextKept", "Text2=  J-7 \t\n", {{"Text2", "  J-7 \t"}}},
        GoodCase{"BlankLinesIgnored", "\n  \n\t\r\nD=5\n\n\n", {{"D", "5"}}},
        GoodCase{"ByteOrderMarkAtStartSkipped",
                 "\xEF\xBB\xBF"
                 "D=5\n",
                 {{"D", "5"}}},
        GoodCase{
            "ByteOrderMarkInsideTextKept", "Text1=\xEF\xBB\xBFx\n", {{"Text1", "\xEF\xBB\xBFx"}}},
        GoodCase{"ChineseAndControlCharactersAreText",
                 "Text1=\xE5\x8F\x98\xE5\x8E\x8B\xE5\x99\xA8\x01\0x\n"s,
                 {{"Text1", "\xE5\x8F\x98\xE5\x8E\x8B\xE5\x99\xA8\x01\0x"s}}},
        GoodCase{"ResultFieldsAreAccepted",
                 "jh1=0062.45\ntxmj=289.499\n",
                 {{"jh1", "0062.45"}, {"txmj", "289.499"}}}),
    [](const auto& info) { return std::string(info.param.name); });

// The parts a front end words its own message from, and the batch tool's
// English line.
struct BadCase {
    const char* name;
    std::string input;
    std::size_t line;
    SheetTextProblem kind;
    std::string subject;
    std::size_t byte;       // InvalidUtf8
    std::size_t firstLine;  // GivenTwice
    std::string problem;
    friend void PrintTo(const BadCase& testCase, std::ostream* os) { *os << testCase.name; }
};

class ReadSheetLinesBad : public testing::TestWithParam<BadCase> {};

TEST_P(ReadSheetLinesBad, NamesTheProblemAndItsLine) {
    Sheet sheet;
    const std::optional<SheetTextError> problem = readSheetLines(GetParam().input, sheet);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->line, GetParam().line);
    EXPECT_EQ(problem->kind, GetParam().kind);
    EXPECT_EQ(problem->subject, GetParam().subject);
    EXPECT_EQ(problem->byte, GetParam().byte);
    EXPECT_EQ(problem->firstLine, GetParam().firstLine);
    EXPECT_EQ(problem->problem, GetParam().problem);
    EXPECT_EQ(problem->describe().find('\n'), std::string::npos);
}

using enum SheetTextProblem;

INSTANTIATE_TEST_SUITE_P(
    Inputs, ReadSheetLinesBad,
    testing::Values(BadCase{"LineWithoutEquals", "D=200\n\nPK1 190\n", 3, MissingEquals, "PK1 190",
                            0, 0, "expected NAME=TEXT, found no '=' in \"PK1 190\""},
                    BadCase{"FieldNamesAreCaseSensitive", "pk1=190\n", 1, UnknownField, "pk1", 0, 0,
                            "unknown field \"pk1\""},
                    BadCase{"BlankAroundNameIsPartOfIt", "D =200\n", 1, UnknownField, "D ", 0, 0,
                            "unknown field \"D \""},
                    BadCase{"EmptyName", "=5\n", 1, UnknownField, "", 0, 0, "unknown field \"\""},
                    BadCase{"ControlCharacterInNameEscaped", "D\x01=1\n", 1, UnknownField, "D\x01",
                            0, 0, "unknown field \"D\\x01\""},
                    BadCase{"FieldGivenTwice", "D=1\nH=2\r\nD=1\n", 3, GivenTwice, "D", 0, 1,
                            "field D given twice (first on line 1)"},
                    BadCase{"FieldGivenTwiceEvenWhenEmpty", "MD=\nMD=\n", 2, GivenTwice, "MD", 0, 1,
                            "field MD given twice (first on line 1)"},
                    BadCase{"InvalidUtf8InText", "D=1\nText1=ab\xFF\n", 2, InvalidUtf8, "", 9, 0,
                            "invalid UTF-8 at byte 9 of the line"},
                    BadCase{"OverlongUtf8", "Text1=\xC0\xAF\n", 1, InvalidUtf8, "", 7, 0,
                            "invalid UTF-8 at byte 7 of the line"},
                    BadCase{"InvalidUtf8BeatsMissingEquals", "\xFF\n", 1, InvalidUtf8, "", 1, 0,
                            "invalid UTF-8 at byte 1 of the line"},
                    BadCase{"TruncatedUtf8AtEndOfInput", "Text1=\xE5\x8F", 1, InvalidUtf8, "", 7, 0,
                            "invalid UTF-8 at byte 7 of the line"},
                    BadCase{"ByteOrderMarkLaterIsNoBlank", "D=1\n\xEF\xBB\xBF\n", 2, MissingEquals,
                            "\xEF\xBB\xBF", 0, 0,
                            "expected NAME=TEXT, found no '=' in \"\xEF\xBB\xBF\""},
                    BadCase{"CarriageReturnIsNotPartOfTheLine", "H=1\r\nPK1\r\n", 2, MissingEquals,
                            "PK1", 0, 0, "expected NAME=TEXT, found no '=' in \"PK1\""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AppendSheetLines, ListsAllFieldsInTheToolsOrder) {
    Sheet sheet;
    sheet.setText(Field::Text1, "S11-400/10");
    sheet.setText(Field::jh92, "0");
    sheet.setText(Field::txz, "834.9353444385");
    std::string out;
    appendSheetLines(sheet, out);
    EXPECT_EQ(out,
              "Text1=S11-400/10\nText2=\nTXJS=\nD=\nH=\nM=\nZ=\nMD=7.65\ndpxs=\n"
              "PK1=\nPK2=\nPK3=\nPK4=\nPK5=\nPK6=\nPK7=\nPK8=\nPK9=\n"
              "jh1=\njh2=\njh3=\njh4=\njh5=\njh6=\njh7=\njh8=\njh9=\n"
              "jh22=\njh32=\njh42=\njh52=\njh62=\njh72=\njh82=\njh92=0\n"
              "txmj=\ntxjmj=\ndh=\ntxz=834.9353444385\n");
}

TEST(AppendSheetLines, ReadsBackToTheSameSheet) {
    Sheet sheet;
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        std::string text = std::to_string(i);
        // carriage returns inside and, for every third field, at the end
        text += i % 2 ? "=x\ry" : "=x\ry ";
        if (i % 3 == 0) {
            text += i % 2 ? "\r" : "\r\r";
        }
        sheet.setText(fieldAt(i), text);
    }
    std::string out;
    appendSheetLines(sheet, out);
    Sheet readBack;
    ASSERT_FALSE(readSheetLines(out, readBack));
    EXPECT_EQ(readBack, sheet);
}

}  // namespace
}  // namespace kalvitra
