#include "kalvitra/text/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace kalvitra {
namespace {

constexpr std::size_t kValid = std::string_view::npos;

struct Utf8Case {
    const char* name;
    std::string bytes;
    std::size_t firstInvalid;
    friend void PrintTo(const Utf8Case& testCase, std::ostream* os) { *os << testCase.name; }
};

class FindInvalidUtf8 : public testing::TestWithParam<Utf8Case> {};

TEST_P(FindInvalidUtf8, ReportsFirstBadOffset) {
    EXPECT_EQ(findInvalidUtf8(GetParam().bytes), GetParam().firstInvalid);
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Sequences, FindInvalidUtf8,
    testing::Values(
        Utf8Case{"Empty", "", kValid}, Utf8Case{"Ascii", "D=200", kValid},
        Utf8Case{"NulAndControlsAreText", "a\0\x01\x7f"s, kValid},
        Utf8Case{"TwoByte", "\xC3\xA9", kValid},
        Utf8Case{"ThreeByteChinese", "\xE5\x8F\x98\xE5\x8E\x8B", kValid},
        Utf8Case{"FourByte", "\xF0\x9D\x84\x9E", kValid},
        Utf8Case{"LowestThreeByte", "\xE0\xA0\x80", kValid},
        Utf8Case{"LastBeforeSurrogates", "\xED\x9F\xBF", kValid},
        Utf8Case{"FirstAfterSurrogates", "\xEE\x80\x80", kValid},
        Utf8Case{"HighestCodePoint", "\xF4\x8F\xBF\xBF", kValid},
        Utf8Case{"ByteOrderMark", "\xEF\xBB\xBF", kValid}, Utf8Case{"LoneContinuation", "a\x80", 1},
        Utf8Case{"OverlongTwoByteC0", "\xC0\xAF", 0}, Utf8Case{"OverlongTwoByteC1", "\xC1\xBF", 0},
        Utf8Case{"OverlongThreeByte", "\xE0\x80\xAF", 0},
        Utf8Case{"OverlongFourByte", "\xF0\x80\x80\xAF", 0},
        Utf8Case{"Surrogate", "ok\xED\xA0\x80", 2},
        Utf8Case{"BeyondU10FFFF", "\xF4\x90\x80\x80", 0}, Utf8Case{"LeadF5", "\xF5\x80\x80\x80", 0},
        Utf8Case{"ByteFF", "x\xFF", 1}, Utf8Case{"TruncatedAtEnd", "ab\xE5\x8F", 2},
        Utf8Case{"BadSecondContinuation", "\xE2\x28\xA1", 0},
        Utf8Case{"BadThirdContinuation", "\xF0\x9D\x84\x41", 0},
        Utf8Case{"AfterValidMultibyte", "x\xC3\xA9\xFFy", 3}),
    [](const auto& info) { return std::string(info.param.name); });

std::string repeat(std::string_view text, int times) {
    std::string repeated;
    for (int i = 0; i < times; ++i) {
        repeated += text;
    }
    return repeated;
}

struct QuoteCase {
    const char* name;
    std::string text;
    std::string quoted;
    friend void PrintTo(const QuoteCase& testCase, std::ostream* os) { *os << testCase.name; }
};

class QuoteForMessage : public testing::TestWithParam<QuoteCase> {};

TEST_P(QuoteForMessage, KeepsMessageOnOneReadableLine) {
    EXPECT_EQ(quoteForMessage(GetParam().text), GetParam().quoted);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, QuoteForMessage,
    testing::Values(
        QuoteCase{"Plain", "pk1", "\"pk1\""}, QuoteCase{"Empty", "", "\"\""},
        QuoteCase{"ControlsEscaped", "a\nb\r\t\0"s, "\"a\\x0ab\\x0d\\x09\\x00\""},
        QuoteCase{"QuoteAndBackslashEscaped", "a\"b\\", "\"a\\\"b\\\\\""},
        QuoteCase{"InvalidBytesEscaped", "\xFF\xC3", "\"\\xff\\xc3\""},
        QuoteCase{"MultibyteKept", "\xE5\x8F\x98", "\"\xE5\x8F\x98\""},
        QuoteCase{"LongCutAfter40", std::string(41, 'x'), "\"" + std::string(40, 'x') + "...\""},
        QuoteCase{"FortyNotCut", std::string(40, 'x'), "\"" + std::string(40, 'x') + "\""},
        QuoteCase{"CutCountsCodePoints", repeat("\xC3\xA9", 41),
                  "\"" + repeat("\xC3\xA9", 40) + "...\""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kalvitra
