#include "kalvitra/text/numbers.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <utility>

#include "kalvitra/sheet/errors.h"

namespace kalvitra {
namespace {

struct ReadCase {
    const char* name;
    const char* text;
    double value;
};

std::string caseName(const ::testing::TestParamInfo<ReadCase>& info) {
    return info.param.name;
}

class LenientReading : public ::testing::TestWithParam<ReadCase> {};

TEST_P(LenientReading, ReadsTheNearestDouble) {
    const double value = readLenient(GetParam().text);
    EXPECT_EQ(value, GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Table, LenientReading,
    ::testing::Values(
        ReadCase{"Empty", "", 0}, ReadCase{"Plain", "12.5", 12.5},
        ReadCase{"UnitBehind", "12.5mm", 12.5}, ReadCase{"LeadingBlanks", "  7.65", 7.65},
        ReadCase{"BlankInside", "1 2", 12}, ReadCase{"CommaEndsNumber", "1,5", 1},
        ReadCase{"Negative", "-0.95", -0.95}, ReadCase{"PointFirst", ".5", 0.5},
        ReadCase{"Exponent", "1.5E3", 1500}, ReadCase{"NegativeExponent", "1.5E-3", 0.0015},
        ReadCase{"EWithoutDigits", "2E", 2}, ReadCase{"Letters", "abc", 0},
        ReadCase{"LeadingZeros", "0012.30", 12.3},
        ReadCase{"DefaultTextExponent", "1.23456789012346E+15", 1234567890123460.0},
        // beyond the table
        ReadCase{"LowerCaseExponent", "2e2", 200}, ReadCase{"PlusSign", "+3", 3},
        ReadCase{"TabsAndLineFeeds", "\t1\n0\t", 10}, ReadCase{"ThousandsWithBlank", "1 000", 1000},
        ReadCase{"DecimalComma", "0,96", 0}, ReadCase{"SecondPointEnds", "1.2.3", 1.2},
        ReadCase{"SignOnly", "-", 0}, ReadCase{"PointOnly", ".", 0},
        ReadCase{"ExponentSignWithoutDigits", "3e+", 3}, ReadCase{"BlankInExponent", "1 e 2", 100},
        ReadCase{"CarriageReturnEnds", "7\r8", 7},
        ReadCase{"FullWidthDigitsAreNotDigits", "１２", 0},
        ReadCase{"UnderflowIsZero", "1e-400", 0}, ReadCase{"TinyStaysTiny", "5e-324", 5e-324},
        ReadCase{"HugeExponentOfZero", "0e999999999999", 0},
        ReadCase{"LargestDouble", "1.7976931348623157e308", 1.7976931348623157e308},
        ReadCase{"PatternText", "-0003.46", -3.46}),
    caseName);

class StrictReading : public ::testing::TestWithParam<ReadCase> {};

TEST_P(StrictReading, ReadsWholeNumbers) {
    EXPECT_EQ(readStrict(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(Table, StrictReading,
                         ::testing::Values(ReadCase{"Plain", "289.499", 289.499},
                                           ReadCase{"BlanksAround", "  12.5 ", 12.5},
                                           ReadCase{"DigitGroups", "1,234.5", 1234.5},
                                           ReadCase{"Exponent", "1.5E+20", 1.5e20},
                                           ReadCase{"LowerExponent", "2e-3", 0.002},
                                           ReadCase{"Signs", "-7", -7}, ReadCase{"Plus", "+7", 7},
                                           ReadCase{"PointFirst", ".5", 0.5},
                                           ReadCase{"PointLast", "5.", 5},
                                           ReadCase{"PatternText", "0062.45", 62.45},
                                           ReadCase{"UnderflowIsZero", "1E-400", 0}),
                         caseName);

struct RejectCase {
    const char* name;
    const char* text;
    ErrorKind kind;
};

class StrictReadingRejects : public ::testing::TestWithParam<RejectCase> {};

TEST_P(StrictReadingRejects, WithTheRightKind) {
    try {
        readStrict(GetParam().text);
        FAIL() << "accepted \"" << GetParam().text << '"';
    } catch (const CalcError& error) {
        EXPECT_EQ(error.kind(), GetParam().kind);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, StrictReadingRejects,
    ::testing::Values(RejectCase{"Empty", "", ErrorKind::TypeMismatch},
                      RejectCase{"BlanksOnly", "   ", ErrorKind::TypeMismatch},
                      RejectCase{"UnitBehind", "12.5mm", ErrorKind::TypeMismatch},
                      RejectCase{"UnitWithBlank", "289.499 cm2", ErrorKind::TypeMismatch},
                      RejectCase{"Letters", "abc", ErrorKind::TypeMismatch},
                      RejectCase{"PointOnly", ".", ErrorKind::TypeMismatch},
                      RejectCase{"SignOnly", "-", ErrorKind::TypeMismatch},
                      RejectCase{"ExponentWithoutDigits", "2E", ErrorKind::TypeMismatch},
                      RejectCase{"ExponentWithoutMantissa", "E5", ErrorKind::TypeMismatch},
                      RejectCase{"LeadingComma", ",5", ErrorKind::TypeMismatch},
                      RejectCase{"DoubleComma", "1,,2", ErrorKind::TypeMismatch},
                      RejectCase{"CommaInFraction", "1.2,3", ErrorKind::TypeMismatch},
                      RejectCase{"BlankInside", "1 2", ErrorKind::TypeMismatch},
                      RejectCase{"SecondPoint", "1.2.3", ErrorKind::TypeMismatch},
                      RejectCase{"SignAfterBlank", "- 5", ErrorKind::TypeMismatch},
                      RejectCase{"TooLarge", "1e400", ErrorKind::Overflow},
                      RejectCase{"TooLargeNegative", "-2e308", ErrorKind::Overflow}),
    [](const ::testing::TestParamInfo<RejectCase>& info) { return std::string(info.param.name); });

struct PlainCase {
    const char* name;
    const char* text;
    PlainNumberProblem problem;
    double value;  // when problem is None
};

class PlainNumberReading : public ::testing::TestWithParam<PlainCase> {};

TEST_P(PlainNumberReading, TakesOneNumberAndNamesAnythingElse) {
    const PlainReading reading = readPlainNumber(GetParam().text);
    EXPECT_EQ(reading.problem, GetParam().problem) << '"' << GetParam().text << '"';
    EXPECT_EQ(reading.value, GetParam().value) << '"' << GetParam().text << '"';
}

// Where it parts from strict reading: commas. The rest is the same rule.
INSTANTIATE_TEST_SUITE_P(
    Table, PlainNumberReading,
    ::testing::Values(PlainCase{"BlanksAround", " \t200.5 ", PlainNumberProblem::None, 200.5},
                      PlainCase{"Empty", "", PlainNumberProblem::Empty, 0},
                      PlainCase{"DecimalComma", "200,5", PlainNumberProblem::DecimalComma, 0},
                      PlainCase{"DigitGroups", "1,234.5", PlainNumberProblem::DecimalComma, 0},
                      PlainCase{"UnitBehind", "200mm", PlainNumberProblem::NotANumber, 0},
                      PlainCase{"FullWidthDigits", "\xEF\xBC\x91\xEF\xBC\x99\xEF\xBC\x90",
                                PlainNumberProblem::NotANumber, 0},
                      PlainCase{"TooLarge", "-1e400", PlainNumberProblem::OutOfRange, 0}),
    [](const ::testing::TestParamInfo<PlainCase>& info) { return std::string(info.param.name); });

TEST(LenientReadingFails, OnlyBeyondTheDoubleRange) {
    for (const char* text : {"1e400", "-1e400", "1.8e308", "1e99999999999999999999999",
                             "100000000000000000000000000000000000000000000000000000000000000000000"
                             "000000000000000000000000000000000000000000000000000000000000000000000"
                             "000000000000000000000000000000000000000000000000000000000000000000000"
                             "000000000000000000000000000000000000000000000000000000000000000000000"
                             "00000000000000000000000000000000000000000000000000000000000000"}) {
        try {
            readLenient(text);
            FAIL() << "accepted " << text;
        } catch (const CalcError& error) {
            EXPECT_EQ(error.kind(), ErrorKind::Overflow) << text;
        }
    }
}

TEST(LenientReading, AMillionDigitsReadWithoutTruncation) {
    std::string digits(1'000'000, '0');
    digits[0] = '1';
    digits.insert(1, ".");  // 1.000...0, a million characters of digits
    EXPECT_EQ(readLenient(digits), 1.0);
    digits.back() = '1';  // far below the last binary digit: still 1
    EXPECT_EQ(readLenient(digits), 1.0);
}

struct WriteCase {
    const char* name;
    double value;
    const char* text;
};

class DefaultWriting : public ::testing::TestWithParam<WriteCase> {};

TEST_P(DefaultWriting, WritesFifteenDigitsAtMost) {
    EXPECT_EQ(writeDefault(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DefaultWriting,
    ::testing::Values(WriteCase{"Half", 0.5, "0.5"}, WriteCase{"Negative", -2.5, "-2.5"},
                      WriteCase{"Plain", 1234.5, "1234.5"},
                      WriteCase{"Third", 1.0 / 3, "0.333333333333333"},
                      WriteCase{"TwoThirds", 2.0 / 3, "0.666666666666667"},
                      WriteCase{"PointOnePlusPointTwo", 0.1 + 0.2, "0.3"},
                      WriteCase{"RootOf3900", std::sqrt(3900.0), "62.449979983984"},
                      WriteCase{"TenToThe14", 1e14, "100000000000000"},
                      WriteCase{"TenToThe15", 1e15, "1E+15"},
                      WriteCase{"SixteenDigits", 1234567890123456.0, "1.23456789012346E+15"},
                      WriteCase{"TenToTheMinus4", 0.0001, "0.0001"},
                      WriteCase{"TenToTheMinus5", 0.00001, "1E-05"},
                      WriteCase{"TenToTheMinus100", 1e-100, "1E-100"},
                      // beyond the table
                      WriteCase{"Zero", 0.0, "0"}, WriteCase{"NegativeZero", -0.0, "0"},
                      WriteCase{"GrossArea", 289.49899999999997, "289.499"},
                      WriteCase{"RoundsUpIntoNextDecade", 99999999999999.99, "100000000000000"},
                      WriteCase{"RoundsUpIntoExponentForm", 999999999999999.9, "1E+15"},
                      WriteCase{"NegativeExponentForm", -1.5e-7, "-1.5E-07"},
                      WriteCase{"LargestDouble", 1.7976931348623157e308, "1.79769313486232E+308"},
                      WriteCase{"SmallestDouble", 5e-324, "4.94065645841247E-324"},
                      WriteCase{"Weight", 834.9353444385, "834.9353444385"}),
    [](const ::testing::TestParamInfo<WriteCase>& info) { return std::string(info.param.name); });

class PatternWriting : public ::testing::TestWithParam<WriteCase> {};

TEST_P(PatternWriting, RoundsHalvesAwayFromZeroOnTheDecimalDigits) {
    EXPECT_EQ(writePattern(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PatternWriting,
    ::testing::Values(WriteCase{"Plain", 12.3, "0012.30"}, WriteCase{"Zero", 0, "0000.00"},
                      WriteCase{"StageOne", 62.449979983984, "0062.45"},
                      WriteCase{"StageTwo", 17.1872918275927, "0017.19"},
                      WriteCase{"HalfOnDecimalDigits", 2.675, "0002.68"},
                      WriteCase{"EighthRoundsAway", 0.125, "0000.13"},
                      WriteCase{"FiveIntegerDigits", 12345.678, "12345.68"},
                      WriteCase{"Negative", -3.456, "-0003.46"},
                      // beyond the table
                      WriteCase{"NegativeHalf", -2.675, "-0002.68"},
                      WriteCase{"CarryIntoFifthDigit", 9999.995, "10000.00"},
                      WriteCase{"CarryThroughNines", 99.999, "0100.00"},
                      WriteCase{"ThousandthRoundsUp", 0.005, "0000.01"},
                      WriteCase{"BelowHalfAHundredth", 0.0049, "0000.00"},
                      WriteCase{"ExponentFormSmall", 0.00001, "0000.00"},
                      WriteCase{"NegativeZero", -0.0, "0000.00"},
                      WriteCase{"NegativeRoundingToZeroKeepsSign", -0.001, "-0000.00"},
                      WriteCase{"ExponentFormLarge", 1.5e16, "15000000000000000.00"},
                      // the default text 1.23456789012346E+15 carries only 15 digits
                      WriteCase{"SixteenDigits", 1234567890123456.0, "1234567890123460.00"}),
    [](const ::testing::TestParamInfo<WriteCase>& info) { return std::string(info.param.name); });

TEST(IntegerWriting, WritesWholeNumbersOfTheSixteenBitRange) {
    EXPECT_EQ(writeInteger(0), "0");
    EXPECT_EQ(writeInteger(-32768), "-32768");
    EXPECT_EQ(writeInteger(32767), "32767");
    for (int outside : {32768, -32769}) {
        try {
            writeInteger(outside);
            FAIL() << outside;
        } catch (const CalcError& error) {
            EXPECT_EQ(error.kind(), ErrorKind::Overflow);
        }
    }
}

TEST(Writing, RefusesNumbersThatAreNotFinite) {
    const struct {
        double value;
        ErrorKind kind;
    } cases[] = {{std::numeric_limits<double>::infinity(), ErrorKind::Overflow},
                 {-std::numeric_limits<double>::infinity(), ErrorKind::Overflow},
                 {std::numeric_limits<double>::quiet_NaN(), ErrorKind::InvalidOperation}};
    for (const auto& c : cases) {
        for (auto write : {+[](double v) { return writeDefault(v); },
                           +[](double v) { return writePattern(v); }}) {
            try {
                write(c.value);
                FAIL() << c.value;
            } catch (const CalcError& error) {
                EXPECT_EQ(error.kind(), c.kind);
            }
        }
    }
}

// Digits and decimal exponent of a text in plain or exponent form, trailing
// zeros dropped: "0.0125" -> ("125", -2), "1.5E+20" -> ("15", 20).
std::pair<std::string, int> decimalDigits(const std::string& text) {
    std::string digits;
    int exponent = 0;
    int pointPosition = -1;
    int position = 0;
    std::size_t i = text.front() == '-' ? 1 : 0;
    for (; i < text.size() && text[i] != 'E' && text[i] != 'e'; ++i) {
        if (text[i] == '.') {
            pointPosition = position;
        } else {
            digits.push_back(text[i]);
            ++position;
        }
    }
    if (pointPosition < 0) {
        pointPosition = position;
    }
    if (i < text.size()) {
        exponent = std::stoi(text.substr(i + 1));
    }
    const std::size_t first = digits.find_first_not_of('0');
    exponent += pointPosition - 1 - static_cast<int>(first);
    digits = digits.substr(first);
    digits.erase(digits.find_last_not_of('0') + 1);
    return {digits, exponent};
}

// The C library's "%.14e" rounds the exact binary value to 15 digits: an
// independent check of the digits that default writing shows, over plain
// decimals (which take a shortcut) and arbitrary doubles alike.
TEST(DefaultWriting, ShowsTheCorrectlyRoundedFifteenDigits) {
    std::mt19937_64 random(7);
    std::uniform_int_distribution<std::int64_t> cents(-99'999'999'999, 99'999'999'999);
    std::uniform_int_distribution<std::uint64_t> anyBits;
    std::uniform_int_distribution<int> places(0, 8);
    for (int i = 0; i < 300'000; ++i) {
        double value = 0;
        if (i % 3 == 0) {
            const std::uint64_t bits = anyBits(random);
            std::memcpy(&value, &bits, sizeof value);
        } else if (i % 3 == 1) {
            value = static_cast<double>(cents(random)) / std::pow(10.0, places(random));
        } else {
            value = std::sqrt(static_cast<double>(cents(random) & 0xFFFFFF)) / 2 - 31.225;
        }
        if (!std::isfinite(value) || value == 0) {
            continue;
        }
        char reference[40];
        std::snprintf(reference, sizeof reference, "%.14e", value);
        ASSERT_EQ(decimalDigits(writeDefault(value)), decimalDigits(reference)) << reference;
    }
}

// What the next action reads must be exactly what the designer sees: a
// written text reads back as the number it shows, and writing that number
// again gives the same text.
TEST(RoundTrip, WrittenTextsReadBackAsShown) {
    std::mt19937_64 random(20261207);
    std::uniform_int_distribution<std::uint64_t> anyBits;
    std::uniform_real_distribution<double> everyday(-5000.0, 5000.0);
    for (int i = 0; i < 200'000; ++i) {
        double value = 0;
        if (i % 2 == 0) {
            const std::uint64_t bits = anyBits(random);
            std::memcpy(&value, &bits, sizeof value);
            if (!std::isfinite(value)) {
                continue;
            }
        } else {
            value = everyday(random);
        }
        const std::string text = writeDefault(value);
        ASSERT_LE(text.size(), kMaxDefaultTextLength);
        ASSERT_NE(text.front(), ' ');
        int digits = 0;
        for (char c : text.substr(0, text.find('E'))) {
            digits += (c >= '1' && c <= '9') || (c == '0' && digits > 0) ? 1 : 0;
        }
        ASSERT_LE(digits, 15) << text;
        const double shown = readLenient(text);
        ASSERT_EQ(writeDefault(shown), text) << value;
        ASSERT_EQ(readStrict(text), shown) << text;
        // and the shown value is the value within 15 significant digits
        ASSERT_LE(std::fabs(shown - value), std::fabs(value) * 6e-15) << text;

        const std::string pattern = writePattern(value);
        const std::size_t point = pattern.find('.');
        ASSERT_NE(point, std::string::npos);
        ASSERT_EQ(pattern.size() - point, 3u) << pattern;
        ASSERT_GE(point - (pattern.front() == '-' ? 1 : 0), 4u) << pattern;
        if (std::fabs(value) < 1e12) {
            ASSERT_LE(std::fabs(readLenient(pattern) - readLenient(text)),
                      0.005 + std::fabs(value) * 1e-15)
                << value << ' ' << pattern;
        }
    }
}

// The decimal comma of the machine's regional settings never reaches a
// number: readers and writers give the same digits under a locale that
// writes 0,96. Skipped where no such locale is installed.
TEST(RegionalSettings, ChangeNoDigit) {
    std::string previous = std::setlocale(LC_ALL, nullptr);
    bool commaLocale = false;
    for (const char* name :
         {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "German_Germany.1252", "German", "de-DE"}) {
        if (std::setlocale(LC_ALL, name) != nullptr &&
            std::string(std::localeconv()->decimal_point) == ",") {
            commaLocale = true;
            break;
        }
    }
    if (!commaLocale) {
        std::setlocale(LC_ALL, previous.c_str());
        GTEST_SKIP() << "no locale with a decimal comma here";
    }
    EXPECT_EQ(readLenient("0.96"), 0.96);
    EXPECT_EQ(readLenient("1,5"), 1.0);
    EXPECT_EQ(readStrict("1,234.5"), 1234.5);
    EXPECT_EQ(readStrict(" 1.5E+20 "), 1.5e20);
    EXPECT_EQ(readStrict("0,96"), 96.0) << "a comma groups digits, it is no decimal sign";
    EXPECT_EQ(writeDefault(277.91904), "277.91904");
    EXPECT_EQ(writeDefault(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(writeDefault(0.00001), "1E-05");
    EXPECT_EQ(writeDefault(1.5e300), "1.5E+300");
    EXPECT_EQ(writePattern(62.449979983984), "0062.45");
    EXPECT_EQ(writePattern(-3.456), "-0003.46");
    std::setlocale(LC_ALL, previous.c_str());
}

// Every system the tool is built for reads and writes numbers bit for bit
// alike: a digest of the texts written for seeded random doubles, of the
// doubles they read back as, and of the doubles read from long decimal texts
// (past the 15-digit shortcut, down into subnormals and up to overflow). The
// Linux and the Windows build both check it against the one value.
TEST(NumberTexts, DigestIsTheSameOnEverySystem) {
    std::mt19937_64 random(1207);
    std::uint64_t digest = 14695981039346656037ULL;  // FNV-1a
    auto mix = [&digest](std::string_view bytes) {
        for (const char c : bytes) {
            digest = (digest ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
        }
    };
    auto mixBits = [&mix](double value) {
        char bytes[sizeof value];
        std::memcpy(bytes, &value, sizeof value);
        mix(std::string_view(bytes, sizeof bytes));
    };
    for (int i = 0; i < 100'000; ++i) {
        const std::uint64_t bits = random();
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        if (std::isfinite(value)) {
            const std::string text = writeDefault(value);
            mix(text);
            mixBits(readLenient(text));
            mix(writePattern(value));
        }
        const std::string decimal = std::to_string(random()) + "." + std::to_string(random()) +
                                    "e" + std::to_string(static_cast<int>(random() % 700) - 350);
        try {
            mixBits(readStrict(decimal));
        } catch (const CalcError& error) {
            mix(errorKindName(error.kind()));
        }
    }
    EXPECT_EQ(digest, 4999738705357343793ULL);
}

}  // namespace
}  // namespace kalvitra
