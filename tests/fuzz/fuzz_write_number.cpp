// Any double through default writing and pattern writing.
//
// An input of exactly 8 bytes is the double's bit pattern, so every double,
// subnormals, infinities and NaNs included, can come up. Any other input is
// read as a decimal text by strtod, which steers the fuzzer to the human
// numbers where rounding decides (2.675, 0.125, 999999999999999.5).

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "kalvitra/sheet/errors.h"
#include "kalvitra/text/numbers.h"

namespace {

using kalvitra::CalcError;
using kalvitra::ErrorKind;
using kalvitra::fuzz::fail;
using kalvitra::fuzz::require;

double valueFrom(const std::uint8_t* data, std::size_t size) {
    double value = 0.0;
    if (size == sizeof value) {
        std::memcpy(&value, data, sizeof value);
        return value;
    }
    const std::string text(reinterpret_cast<const char*>(data), size < 400 ? size : 400);
    return std::strtod(text.c_str(), nullptr);
}

std::string describe(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

// A number that is not finite cannot be written: NaN is an invalid
// operation, an infinity an overflow, from both writers.
void checkNotFinite(double value) {
    const ErrorKind expected =
        std::isnan(value) ? ErrorKind::InvalidOperation : ErrorKind::Overflow;
    for (int writer = 0; writer < 2; ++writer) {
        try {
            const std::string text =
                writer == 0 ? kalvitra::writeDefault(value) : kalvitra::writePattern(value);
            fail("a number that is not finite was written", text);
        } catch (const CalcError& error) {
            require(error.kind() == expected, "wrong error kind for a number that is not finite",
                    describe(value));
        }
    }
}

// The double that the 15-digit rounding of value stands for, or infinity
// when that rounding lies beyond the double range.
double fifteenDigitValue(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", value);
    return std::strtod(buffer, nullptr);
}

void checkDefault(double value) {
    // The allocation-free writer must stay inside the buffer size it names;
    // a heap block of exactly that size lets AddressSanitizer see any byte
    // past it.
    const auto buffer = std::make_unique<char[]>(kalvitra::kMaxDefaultTextLength);
    const std::size_t length = kalvitra::writeDefault(value, buffer.get());
    require(length > 0 && length <= kalvitra::kMaxDefaultTextLength,
            "default text length out of bounds", describe(value));
    const std::string text = kalvitra::writeDefault(value);
    require(text == std::string_view(buffer.get(), length), "the two default writers disagree",
            text);

    if (const char* problem = kalvitra::fuzz::defaultTextProblem(text)) {
        fail(problem, text);
    }
    require((text[0] == '-') == (value < 0.0), "sign of the default text is wrong", text);

    const double shown = fifteenDigitValue(value);
    double readBack = 0.0;
    try {
        readBack = kalvitra::readLenient(text);
    } catch (const CalcError& error) {
        // Only the last sliver below the largest double rounds, at 15 digits,
        // to a text beyond the double range; reading that back overflows.
        require(error.kind() == ErrorKind::Overflow && std::isinf(shown),
                "default text does not read back", text);
        return;
    }
    require(!std::isinf(shown), "a text beyond the double range read back as a number", text);
    require(readBack == shown, "default text reads back to another number than it shows", text);
    require(kalvitra::writeDefault(readBack) == text, "default text is not stable on rewriting",
            text);
}

void checkPattern(double value) {
    const std::string text = kalvitra::writePattern(value);
    if (const char* problem = kalvitra::fuzz::patternTextProblem(text)) {
        fail(problem, text);
    }
    require((text[0] == '-') == (value < 0.0), "sign of the pattern text is wrong", text);

    // Two decimals of the 15-digit value: off by at most half a hundredth,
    // give or take the 15-digit rounding of huge numbers. Compared in long
    // double so that the check itself does not round.
    const double shown = fifteenDigitValue(value);
    if (std::isinf(shown)) {
        return;  // the text stands for a number beyond the double range
    }
    const long double patterned = std::strtold(text.c_str(), nullptr);
    const long double difference = std::fabs(patterned - static_cast<long double>(shown));
    const long double tolerance = 0.005L + std::fabs(static_cast<long double>(shown)) * 1e-15L;
    require(difference <= tolerance, "pattern text is not the two-decimal rounding", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const double value = valueFrom(data, size);
    if (!std::isfinite(value)) {
        checkNotFinite(value);
        return 0;
    }
    try {
        checkDefault(value);
        checkPattern(value);
    } catch (const CalcError& error) {
        fail(std::string("a finite number could not be written: ") + error.what(), describe(value));
    }
    return 0;
}
