// Any bytes as the text of a field, through lenient, strict and plain reading.
//
// Lenient reading is checked against an independent reading of the same
// text: the number-shaped prefix cut out here by hand and converted by the C
// library's strtod, which rounds correctly in the "C" locale this program
// never leaves. Strict reading must accept exactly the texts that are one
// whole number (digit-group commas aside) and then agree with lenient reading
// of the same text without its commas.

#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "kalvitra/sheet/errors.h"
#include "kalvitra/text/numbers.h"

namespace {

using kalvitra::CalcError;
using kalvitra::ErrorKind;
using kalvitra::fuzz::fail;
using kalvitra::fuzz::isAsciiDigit;
using kalvitra::fuzz::require;

struct Reading {
    std::optional<double> value;  // set when the reading succeeded
    std::optional<ErrorKind> error;
};

template <typename Reader>
Reading readWith(Reader reader, std::string_view text) {
    Reading reading;
    try {
        reading.value = reader(text);
    } catch (const CalcError& error) {
        reading.error = error.kind();
    } catch (...) {
        fail("a reading threw something other than CalcError", text);
    }
    return reading;
}

// Length of the longest prefix of the form [+-] digits-with-one-point
// [(E|e) [+-] digits]; 0 when it holds no digit.
std::size_t numberPrefixLength(std::string_view text) {
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        ++pos;
    }
    bool digit = false;
    bool point = false;
    for (; pos < text.size(); ++pos) {
        if (isAsciiDigit(text[pos])) {
            digit = true;
        } else if (text[pos] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!digit) {
        return 0;
    }
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        std::size_t exponent = pos + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) {
            ++exponent;
        }
        const std::size_t digits = exponent;
        while (exponent < text.size() && isAsciiDigit(text[exponent])) {
            ++exponent;
        }
        if (exponent > digits) {
            pos = exponent;
        }
    }
    return pos;
}

std::string withoutAny(std::string_view text, std::string_view dropped) {
    std::string kept;
    kept.reserve(text.size());
    for (char c : text) {
        if (dropped.find(c) == std::string_view::npos) {
            kept.push_back(c);
        }
    }
    return kept;
}

// What lenient reading must give: nullopt for an overflow.
std::optional<double> expectedLenient(std::string_view text) {
    const std::string compact = withoutAny(text, std::string_view(" \t\n", 3));
    const std::size_t length = numberPrefixLength(compact);
    if (length == 0) {
        return 0.0;
    }
    const std::string number = compact.substr(0, length);
    errno = 0;
    const double value = std::strtod(number.c_str(), nullptr);
    if (std::isinf(value)) {
        return std::nullopt;
    }
    return value;
}

void checkLenient(std::string_view text, const Reading& lenient) {
    if (lenient.error) {
        require(*lenient.error == ErrorKind::Overflow,
                "lenient reading failed with an error other than overflow", text);
    } else {
        require(std::isfinite(*lenient.value), "lenient reading gave a non-finite number", text);
    }
    const std::optional<double> expected = expectedLenient(text);
    if (!expected) {
        require(lenient.error.has_value(), "lenient reading missed an overflow", text);
        return;
    }
    require(!lenient.error, "lenient reading reported an overflow for a number in range", text);
    require(*lenient.value == *expected, "lenient reading is not the nearest double", text);

    // Whatever follows the number and cannot continue it is ignored.
    std::string longer(text);
    longer += "x,5";
    const Reading extended = readWith(kalvitra::readLenient, longer);
    require(extended.value && *extended.value == *lenient.value,
            "lenient reading changed when text that ends the number was appended", text);
}

// Strict reading accepts a text exactly when, blanks around it aside, it is
// one number: sign, integer digits (commas only between two of them),
// fraction, exponent, and at least one digit before the exponent.
bool isWholeNumber(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    const std::size_t mantissaEnd = text.find_first_of(".eE");
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != ',') {
            continue;
        }
        const bool betweenDigits =
            i > 0 && i + 1 < text.size() && isAsciiDigit(text[i - 1]) && isAsciiDigit(text[i + 1]);
        if (!betweenDigits || i > mantissaEnd) {
            return false;
        }
    }
    const std::string plain = withoutAny(text, ",");
    return !plain.empty() && numberPrefixLength(plain) == plain.size();
}

void checkStrict(std::string_view text, const Reading& strict) {
    if (strict.error) {
        require(*strict.error == ErrorKind::TypeMismatch || *strict.error == ErrorKind::Overflow,
                "strict reading failed with an error other than type mismatch or overflow", text);
    }
    const bool whole = isWholeNumber(text);
    if (!whole) {
        require(strict.error == ErrorKind::TypeMismatch,
                "strict reading accepted a text that is not one whole number", text);
        return;
    }
    require(strict.error != ErrorKind::TypeMismatch,
            "strict reading refused a text that is one whole number", text);
    // The same number without its digit-group commas reads alike leniently.
    const Reading lenient = readWith(kalvitra::readLenient, withoutAny(text, ","));
    if (strict.error) {
        require(lenient.error == ErrorKind::Overflow,
                "strict reading overflowed where lenient reading does not", text);
        return;
    }
    require(std::isfinite(*strict.value), "strict reading gave a non-finite number", text);
    require(lenient.value && *lenient.value == *strict.value,
            "strict and lenient reading disagree on a whole number", text);
}

// Plain reading names an empty text and any comma; otherwise it takes exactly
// the texts that strict reading takes, and gives the same number.
void checkPlain(std::string_view text, const Reading& strict) {
    using kalvitra::PlainNumberProblem;
    const kalvitra::PlainReading plain = kalvitra::readPlainNumber(text);
    if (text.find_first_not_of(" \t") == std::string_view::npos) {
        require(plain.problem == PlainNumberProblem::Empty, "plain reading missed an empty text",
                text);
    } else if (text.find(',') != std::string_view::npos) {
        require(plain.problem == PlainNumberProblem::DecimalComma, "plain reading missed a comma",
                text);
    } else if (!isWholeNumber(text)) {
        require(plain.problem == PlainNumberProblem::NotANumber,
                "plain reading took a text that is not one number", text);
    } else if (strict.error) {
        require(plain.problem == PlainNumberProblem::OutOfRange,
                "plain reading missed a number beyond the double range", text);
    } else {
        require(plain.problem == PlainNumberProblem::None && plain.value == *strict.value,
                "plain and strict reading disagree on a whole number", text);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkLenient(text, readWith(kalvitra::readLenient, text));
    const Reading strict = readWith(kalvitra::readStrict, text);
    checkStrict(text, strict);
    checkPlain(text, strict);
    return 0;
}
