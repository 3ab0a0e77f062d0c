#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// Shared by the fuzzers: a failed property stops the run loudly (libFuzzer
// saves the input that did it), and the shapes that the writers promise.

namespace kalvitra::fuzz {

// Prints what broke, with the text involved quoted byte for byte, and aborts.
[[noreturn]] inline void fail(std::string_view what, std::string_view text = {}) {
    std::fprintf(stderr, "PROPERTY FAILED: %.*s\n  text (%zu bytes): \"",
                 static_cast<int>(what.size()), what.data(), text.size());
    const std::size_t shown = text.size() < 400 ? text.size() : 400;
    for (std::size_t i = 0; i < shown; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x7f && c != '"' && c != '\\') {
            std::fputc(c, stderr);
        } else {
            std::fprintf(stderr, "\\x%02x", c);
        }
    }
    std::fprintf(stderr, "%s\"\n", shown < text.size() ? "..." : "");
    std::abort();
}

inline void require(bool condition, std::string_view what, std::string_view text = {}) {
    if (!condition) {
        fail(what, text);
    }
}

inline bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

// The shape of a default text: "0", or a number of at most 15 significant
// digits without trailing fraction zeros, in plain form for decimal exponents
// -4..14 ("0.0001", "123456789012345") and in exponent form otherwise
// ("1E-05", "1.5E+15", "1E-100"). Returns what is wrong, or nothing.
inline const char* defaultTextProblem(std::string_view text) {
    if (text == "0") {
        return nullptr;
    }
    std::size_t pos = 0;
    if (pos < text.size() && text[pos] == '-') {
        ++pos;
    }
    const std::string_view body = text.substr(pos);
    if (body.empty()) {
        return "no digits";
    }
    const std::size_t e = body.find('E');
    const std::string_view mantissa = body.substr(0, e);
    const std::size_t point = mantissa.find('.');
    const std::string_view integer = mantissa.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : mantissa.substr(point + 1);
    if (integer.empty()) {
        return "no digit before the point";
    }
    for (char c : integer) {
        if (!isAsciiDigit(c)) {
            return "stray character in the integer part";
        }
    }
    for (char c : fraction) {
        if (!isAsciiDigit(c)) {
            return "stray character in the fraction";
        }
    }
    if (point != std::string_view::npos && (fraction.empty() || fraction.back() == '0')) {
        return "point without fraction, or trailing zero in the fraction";
    }
    // Significant digits: from the first non-zero digit to the last digit
    // shown (trailing zeros of an integer part count as placeholders only).
    std::string digits(integer);
    digits += fraction;
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos) {
        return "a zero other than \"0\"";
    }
    std::size_t last = digits.size();
    if (fraction.empty()) {
        while (last > first + 1 && digits[last - 1] == '0') {
            --last;
        }
    }
    if (last - first > 15) {
        return "more than 15 significant digits";
    }
    if (e == std::string_view::npos) {
        // Plain form: decimal exponent -4..14, one leading 0 below 1.
        if (integer.size() > 1 && integer[0] == '0') {
            return "leading zero";
        }
        const long exponent = integer != "0" ? static_cast<long>(integer.size()) - 1
                                             : -static_cast<long>(first - integer.size() + 1);
        if (exponent < -4 || exponent > 14) {
            return "plain form outside decimal exponents -4..14";
        }
        return nullptr;
    }
    if (integer.size() != 1 || integer[0] == '0') {
        return "exponent form needs one non-zero digit before the point";
    }
    const std::string_view exponentText = body.substr(e + 1);
    if (exponentText.size() < 3 || (exponentText[0] != '+' && exponentText[0] != '-')) {
        return "exponent needs a sign and at least two digits";
    }
    long exponent = 0;
    for (char c : exponentText.substr(1)) {
        if (!isAsciiDigit(c)) {
            return "stray character in the exponent";
        }
        exponent = exponent * 10 + (c - '0');
    }
    if (exponentText.size() > 3 && exponentText[1] == '0') {
        return "exponent with a needless leading zero";
    }
    if (exponentText[0] == '-') {
        exponent = -exponent;
    }
    if (exponent >= -4 && exponent <= 14) {
        return "exponent form for a decimal exponent in -4..14";
    }
    return nullptr;
}

// The shape of a "0000.00" text: optional '-', at least four integer digits
// (more only without a leading zero), a point and exactly two decimals.
inline const char* patternTextProblem(std::string_view text) {
    if (!text.empty() && text[0] == '-') {
        text.remove_prefix(1);
    }
    const std::size_t point = text.find('.');
    if (point == std::string_view::npos || point < 4) {
        return "fewer than four integer digits";
    }
    if (text.size() - point - 1 != 2) {
        return "not exactly two decimals";
    }
    if (point > 4 && text[0] == '0') {
        return "padding beyond four integer digits";
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i != point && !isAsciiDigit(text[i])) {
            return "stray character";
        }
    }
    return nullptr;
}

}  // namespace kalvitra::fuzz
