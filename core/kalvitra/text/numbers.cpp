#include "kalvitra/text/numbers.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "kalvitra/sheet/errors.h"
#include "kalvitra/text/number_text.h"

namespace kalvitra {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isLenientBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

// An optional + or - at pos, stepped over; true for a minus.
bool takeSign(std::string_view text, std::size_t& pos) {
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        return text[pos++] == '-';
    }
    return false;
}

// Powers of ten that a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// A decimal number already cut out of its text, without its sign: the whole
// number as from_chars takes it, and its mantissa and exponent digits.
struct DecimalParts {
    bool negative = false;
    std::string_view number;    // e.g. "12.5", ".5", "5.", "1.5e-3"
    std::string_view mantissa;  // e.g. "12.5"
    bool exponentNegative = false;
    std::string_view exponentDigits;  // empty when there is no exponent
};

// Decimal exponent of the first significant digit of the number, saturated
// far beyond the double range; used only to tell an overflow from an
// underflow when the value does not fit a double.
long long leadingDigitExponent(const DecimalParts& parts) {
    constexpr long long kSaturation = 1'000'000'000'000LL;
    long long exponent = 0;
    for (char c : parts.exponentDigits) {
        exponent = exponent * 10 + (c - '0');
        if (exponent > kSaturation) {
            exponent = kSaturation;
            break;
        }
    }
    if (parts.exponentNegative) {
        exponent = -exponent;
    }
    // Power of ten of each mantissa digit in turn, starting with the first.
    const std::size_t point = parts.mantissa.find('.');
    long long position =
        static_cast<long long>(point == std::string_view::npos ? parts.mantissa.size() : point) - 1;
    for (char c : parts.mantissa) {
        if (c == '.') {
            continue;
        }
        if (c != '0') {
            return position + exponent;
        }
        --position;
    }
    return std::numeric_limits<long long>::min();  // the number is zero
}

// The double nearest to a decimal number into value; false when its
// magnitude lies beyond the double range. Underflow quietly gives zero (or
// the nearest tiny number).
bool toDoubleInRange(const DecimalParts& parts, double& value) {
    const char* const end = parts.number.data() + parts.number.size();
    value = 0.0;
    const auto result =
        std::from_chars(parts.number.data(), end, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        if (leadingDigitExponent(parts) >= 0) {
            return false;
        }
        value = 0.0;
    } else if (result.ec != std::errc() || result.ptr != end) {
        // Unreachable for the forms the readers cut out; kept as a hard stop
        // rather than a silently wrong number.
        throw CalcError(ErrorKind::TypeMismatch, "not a number");
    }
    if (parts.negative) {
        value = -value;
    }
    return true;
}

// The same; overflow is an error.
double toDouble(const DecimalParts& parts) {
    double value = 0.0;
    if (!toDoubleInRange(parts, value)) {
        throw CalcError(ErrorKind::Overflow, "number beyond the double range");
    }
    return value;
}

// Cuts the longest number-shaped prefix out of text that holds no blanks.
// Returns false when the prefix has no digit at all.
bool cutLenientPrefix(std::string_view text, DecimalParts& parts) {
    std::size_t pos = 0;
    parts.negative = takeSign(text, pos);
    const std::size_t mantissaStart = pos;
    bool sawPoint = false;
    bool sawDigit = false;
    while (pos < text.size()) {
        const char c = text[pos];
        if (isDigit(c)) {
            sawDigit = true;
        } else if (c == '.' && !sawPoint) {
            sawPoint = true;
        } else {
            break;
        }
        ++pos;
    }
    if (!sawDigit) {
        return false;
    }
    parts.mantissa = text.substr(mantissaStart, pos - mantissaStart);
    if (pos < text.size() && (text[pos] == 'E' || text[pos] == 'e')) {
        std::size_t exponentPos = pos + 1;
        const bool exponentNegative = takeSign(text, exponentPos);
        const std::size_t digitsStart = exponentPos;
        while (exponentPos < text.size() && isDigit(text[exponentPos])) {
            ++exponentPos;
        }
        if (exponentPos > digitsStart) {  // "2E" and "2E+" stop before the E
            parts.exponentNegative = exponentNegative;
            parts.exponentDigits = text.substr(digitsStart, exponentPos - digitsStart);
            pos = exponentPos;
        }
    }
    parts.number = text.substr(mantissaStart, pos - mantissaStart);
    return true;
}

// Digits and decimal exponent of a finite non-zero number rounded to at
// most 15 significant digits, trailing zeros removed.
struct SignificantDigits {
    bool negative = false;
    char digits[17] = {};
    int count = 0;
    int exponent = 0;  // power of ten of digits[0]
};

// The common case of a number that stands for a decimal of at most 15
// digits, such as 17.19 or 289.499: its 15-digit rounding is that decimal
// (every such decimal survives a round trip through a normal double), found
// with one scaling instead of a general conversion. Returns false for any
// other number; those take the general path.
bool shortDecimalDigits(double value, SignificantDigits& out) {
    const double magnitude = std::fabs(value);
    if (!(magnitude >= 1e-4 && magnitude < 1e15)) {
        return false;
    }
    // Power of ten of the first digit, -4..14; a slip at a boundary only
    // costs the fast path, since the digits found decide the exponent.
    static constexpr double kDecades[] = {1e-4, 1e-3, 1e-2, 1e-1, 1e0,  1e1,  1e2,  1e3,  1e4, 1e5,
                                          1e6,  1e7,  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14};
    // Counted up from the smallest: the sheet's numbers are mostly below
    // 10^4, so this takes a few steps where counting down took a dozen.
    int exponent = -4;
    while (exponent < 14 && magnitude >= kDecades[exponent + 5]) {
        ++exponent;
    }
    const int fractionDigits = 14 - exponent;
    const double power = kExactPowersOfTen[fractionDigits];
    // scaled lies near [1e14, 1e15), well below 2^52, where adding and
    // removing 2^52 rounds to the nearest whole number.
    const double scaled = magnitude * power;
    const double whole = (scaled + 0x1p52) - 0x1p52;
    // Exact operands and one correctly rounded division: equal only if the
    // 15-digit decimal whole × 10^-(14 - exponent) reads back as value.
    if (whole >= 1e15 || whole / power != magnitude) {
        return false;
    }
    auto digits = static_cast<std::uint64_t>(whole);
    char reversed[16];
    int count = 0;
    while (digits > 0) {
        reversed[count++] = static_cast<char>('0' + digits % 10);
        digits /= 10;
    }
    out.negative = value < 0;
    out.exponent = count - 1 - fractionDigits;
    out.count = 0;
    for (int i = count - 1; i >= 0; --i) {
        out.digits[out.count++] = reversed[i];
    }
    while (out.count > 1 && out.digits[out.count - 1] == '0') {
        --out.count;
    }
    return true;
}

SignificantDigits significantDigits(double value) {
    SignificantDigits fast;
    if (shortDecimalDigits(value, fast)) {
        return fast;
    }
    char buffer[40];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    SignificantDigits out;
    std::size_t pos = 0;
    if (text[pos] == '-') {
        out.negative = true;
        ++pos;
    }
    for (; text[pos] != 'e'; ++pos) {
        if (isDigit(text[pos])) {
            out.digits[out.count++] = text[pos];
        }
    }
    ++pos;  // 'e'
    const bool exponentNegative = text[pos] == '-';
    ++pos;  // sign, always present in to_chars' scientific form
    int exponent = 0;
    for (; pos < text.size(); ++pos) {
        exponent = exponent * 10 + (text[pos] - '0');
    }
    out.exponent = exponentNegative ? -exponent : exponent;
    while (out.count > 1 && out.digits[out.count - 1] == '0') {
        --out.count;
    }
    return out;
}

void requireFinite(double value) {
    if (std::isnan(value)) {
        throw CalcError(ErrorKind::InvalidOperation, "not a number cannot be written");
    }
    if (std::isinf(value)) {
        throw CalcError(ErrorKind::Overflow, "number beyond the double range cannot be written");
    }
}

// The common case of a short plain decimal such as "0062.45" or "-190":
// at most 15 digits, no exponent, no blank. Its digits form an integer that
// a double holds exactly, and one division by an exact power of ten rounds
// correctly, so this gives the same double as the general path, faster.
// Returns false to send any other text to the general path. wholeText, when
// given, tells whether the number, with a digit at least, is all of the text.
bool readShortDecimal(std::string_view text, double& value, bool* wholeText = nullptr) {
    std::size_t pos = 0;
    const bool negative = takeSign(text, pos);
    std::uint64_t digits = 0;
    int digitCount = 0;
    // The digits from pos on into digits; false past 15 of them.
    const auto takeDigits = [&] {
        for (; pos < text.size() && isDigit(text[pos]); ++pos) {
            if (++digitCount > 15) {
                return false;
            }
            digits = digits * 10 + static_cast<std::uint64_t>(text[pos] - '0');
        }
        return true;
    };
    if (!takeDigits()) {
        return false;
    }
    int fractionDigits = 0;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        const int integerDigits = digitCount;
        if (!takeDigits()) {
            return false;
        }
        fractionDigits = digitCount - integerDigits;
    }
    if (pos < text.size()) {
        const char c = text[pos];
        if (isLenientBlank(c) || c == 'e' || c == 'E') {
            return false;
        }
        // Anything else ends the number; the rest of the text is ignored.
    }
    if (wholeText != nullptr) {
        *wholeText = digitCount > 0 && pos == text.size();
    }
    for (; pos < text.size(); ++pos) {
        if (isLenientBlank(text[pos])) {
            return false;  // a blank would join what follows to the number
        }
    }
    if (digitCount == 0) {
        value = 0.0;  // no number at all: unsigned zero, even after a sign
        return true;
    }
    value = static_cast<double>(digits) / kExactPowersOfTen[fractionDigits];
    if (negative) {
        value = -value;
    }
    return true;
}

// text without the blanks and tabs around it.
std::string_view withoutOuterBlanks(std::string_view text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

// The mantissa of number from pos on, appended to storage: the integer
// part's digits (with groupCommas, commas between them skipped), then a point
// and the fraction's digits. pos is left after it. Whether it held a digit.
bool cutMantissa(std::string_view number, bool groupCommas, std::size_t& pos,
                 std::string& storage) {
    bool sawDigit = false;
    while (pos < number.size()) {
        const char c = number[pos];
        if (isDigit(c)) {
            storage.push_back(c);
            sawDigit = true;
        } else if (groupCommas && c == ',' && sawDigit && pos + 1 < number.size() &&
                   isDigit(number[pos + 1])) {
            // a comma only between digits of the integer part
        } else {
            break;
        }
        ++pos;
    }
    if (pos < number.size() && number[pos] == '.') {
        storage.push_back('.');
        ++pos;
        while (pos < number.size() && isDigit(number[pos])) {
            storage.push_back(number[pos]);
            sawDigit = true;
            ++pos;
        }
    }
    return sawDigit;
}

// An exponent at pos ("E" or "e", a sign, digits), if there is one,
// appended to storage as from_chars reads it, with its sign in parts and
// where its digits start in storage in exponentDigitsStart. pos is left
// after it. False for an "E" without digits.
bool cutExponent(std::string_view number, std::size_t& pos, DecimalParts& parts,
                 std::string& storage, std::size_t& exponentDigitsStart) {
    if (pos < number.size() && (number[pos] == 'E' || number[pos] == 'e')) {
        ++pos;
        parts.exponentNegative = takeSign(number, pos);
        const std::size_t digitsStart = pos;
        while (pos < number.size() && isDigit(number[pos])) {
            ++pos;
        }
        if (pos == digitsStart) {
            return false;
        }
        storage += parts.exponentNegative ? "e-" : "e";
        exponentDigitsStart = storage.size();
        storage.append(number.substr(digitsStart, pos - digitsStart));
    }
    return true;
}

// A whole number, blanks and tabs around it allowed, cut into parts. With
// groupCommas, commas between digits of the integer part are skipped. parts
// then point into storage, which holds the number without those commas, as
// from_chars needs it. False unless the text is one number, all of it.
bool cutWholeNumber(std::string_view text, bool groupCommas, DecimalParts& parts,
                    std::string& storage) {
    const std::string_view number = withoutOuterBlanks(text);

    std::size_t pos = 0;
    parts.negative = takeSign(number, pos);
    storage.clear();
    if (!cutMantissa(number, groupCommas, pos, storage)) {
        return false;
    }
    const std::size_t mantissaLength = storage.size();
    std::size_t exponentDigitsStart = mantissaLength;
    if (!cutExponent(number, pos, parts, storage, exponentDigitsStart)) {
        return false;
    }
    if (pos != number.size()) {
        return false;
    }
    parts.number = storage;
    parts.mantissa = parts.number.substr(0, mantissaLength);
    parts.exponentDigits = parts.number.substr(exponentDigitsStart);
    return true;
}

}  // namespace

double readLenient(std::string_view text) {
    double value = 0.0;
    if (readShortDecimal(text, value)) {
        return value;
    }
    bool hasBlank = false;
    for (char c : text) {
        if (isLenientBlank(c)) {
            hasBlank = true;
            break;
        }
    }
    std::string compact;
    if (hasBlank) {
        compact.reserve(text.size());
        for (char c : text) {
            if (!isLenientBlank(c)) {
                compact.push_back(c);
            }
        }
        text = compact;
    }
    DecimalParts parts;
    if (!cutLenientPrefix(text, parts)) {
        return 0.0;
    }
    return toDouble(parts);
}

double readStrict(std::string_view text) {
    DecimalParts parts;
    std::string storage;
    if (!cutWholeNumber(text, true, parts, storage)) {
        throw CalcError(ErrorKind::TypeMismatch, "not a number");
    }
    return toDouble(parts);
}

PlainReading readPlainNumber(std::string_view text) {
    PlainReading reading;
    bool whole = false;
    if (readShortDecimal(text, reading.value, &whole) && whole) {
        return reading;
    }
    reading.value = 0.0;
    if (text.find_first_not_of(" \t") == std::string_view::npos) {
        reading.problem = PlainNumberProblem::Empty;
    } else if (text.find(',') != std::string_view::npos) {
        reading.problem = PlainNumberProblem::DecimalComma;
    } else {
        DecimalParts parts;
        std::string storage;
        if (!cutWholeNumber(text, false, parts, storage)) {
            reading.problem = PlainNumberProblem::NotANumber;
        } else if (!toDoubleInRange(parts, reading.value)) {
            reading = {0.0, PlainNumberProblem::OutOfRange};
        }
    }
    return reading;
}

std::size_t writeDefault(double value, char* out) {
    requireFinite(value);
    if (value == 0.0) {
        out[0] = '0';
        return 1;
    }
    const SignificantDigits sig = significantDigits(value);
    std::size_t length = 0;
    if (sig.negative) {
        out[length++] = '-';
    }
    if (sig.exponent >= -4 && sig.exponent <= 14) {
        if (sig.exponent < 0) {
            out[length++] = '0';
            out[length++] = '.';
            for (int i = -1; i > sig.exponent; --i) {
                out[length++] = '0';
            }
            for (int i = 0; i < sig.count; ++i) {
                out[length++] = sig.digits[i];
            }
        } else {
            const int integerDigits = sig.exponent + 1;
            for (int i = 0; i < integerDigits; ++i) {
                out[length++] = i < sig.count ? sig.digits[i] : '0';
            }
            if (sig.count > integerDigits) {
                out[length++] = '.';
                for (int i = integerDigits; i < sig.count; ++i) {
                    out[length++] = sig.digits[i];
                }
            }
        }
        return length;
    }
    out[length++] = sig.digits[0];
    if (sig.count > 1) {
        out[length++] = '.';
        for (int i = 1; i < sig.count; ++i) {
            out[length++] = sig.digits[i];
        }
    }
    out[length++] = 'E';
    out[length++] = sig.exponent < 0 ? '-' : '+';
    const int magnitude = sig.exponent < 0 ? -sig.exponent : sig.exponent;
    if (magnitude >= 100) {
        out[length++] = static_cast<char>('0' + magnitude / 100);
    }
    out[length++] = static_cast<char>('0' + magnitude / 10 % 10);
    out[length++] = static_cast<char>('0' + magnitude % 10);
    return length;
}

std::string writeDefault(double value) {
    char buffer[kMaxDefaultTextLength];
    return std::string(buffer, writeDefault(value, buffer));
}

std::string writePattern(double value) {
    char defaultText[kMaxDefaultTextLength];
    return detail::patternOfDefaultText(
        std::string_view(defaultText, writeDefault(value, defaultText)));
}

namespace detail {

constexpr int kMaxPatternDigits = 320;

namespace {

// The sign, digits and exponent as a default text shows them: "-1.5E-07",
// "0.0001", "62.449979983984". No digits at all (count 0) for a zero.
SignificantDigits digitsOfDefaultText(std::string_view defaultText) {
    SignificantDigits sig;
    std::size_t pos = 0;
    if (pos < defaultText.size() && defaultText[pos] == '-') {
        sig.negative = true;
        ++pos;
    }
    int integerDigits = 0;
    bool pastPoint = false;
    bool significant = false;
    int leadingFractionZeros = 0;
    for (; pos < defaultText.size() && defaultText[pos] != 'E'; ++pos) {
        const char c = defaultText[pos];
        if (c == '.') {
            pastPoint = true;
            continue;
        }
        if (!significant && c == '0') {
            leadingFractionZeros += pastPoint ? 1 : 0;
            continue;
        }
        significant = true;
        if (sig.count < static_cast<int>(sizeof sig.digits)) {
            sig.digits[sig.count++] = c;
        }
        integerDigits += pastPoint ? 0 : 1;
    }
    if (sig.count == 0) {
        return sig;
    }
    sig.exponent = integerDigits > 0 ? integerDigits - 1 : -(leadingFractionZeros + 1);
    if (pos < defaultText.size()) {  // exponent form: one digit before the point
        int exponent = 0;
        const bool negativeExponent = defaultText[pos + 1] == '-';
        for (pos += 2; pos < defaultText.size(); ++pos) {
            exponent = exponent * 10 + (defaultText[pos] - '0');
        }
        sig.exponent = negativeExponent ? -exponent : exponent;
    }
    return sig;
}

// Hundredths of the magnitude into hundredths, rounded half away from zero
// on these decimal digits, at least six of them ("0000.00" without its
// point); their count. digits[i] stands for 10^(exponent - i). A double's
// decimal exponent is at most 308, so the digits fit in kMaxPatternDigits.
int roundedHundredths(const SignificantDigits& sig, char (&hundredths)[kMaxPatternDigits]) {
    const int kept = sig.exponent + 3;
    int length = 0;
    if (kept > 0) {
        if (kept >= kMaxPatternDigits) {
            throw CalcError(ErrorKind::Overflow, "number too long for the pattern");
        }
        for (int i = 0; i < kept; ++i) {
            hundredths[length++] = i < sig.count ? sig.digits[i] : '0';
        }
    }
    if (kept >= 0 && kept < sig.count && sig.digits[kept] >= '5') {
        int i = length - 1;
        while (i >= 0 && hundredths[i] == '9') {
            hundredths[i--] = '0';
        }
        if (i >= 0) {
            ++hundredths[i];
        } else {  // carried into a new first digit: 99.999 -> 100.00
            std::memmove(hundredths + 1, hundredths, static_cast<std::size_t>(length));
            hundredths[0] = '1';
            ++length;
        }
    }
    // At least four integer digits and exactly two decimals: "0000.00".
    if (length < 6) {
        const int padding = 6 - length;
        std::memmove(hundredths + padding, hundredths, static_cast<std::size_t>(length));
        std::memset(hundredths, '0', static_cast<std::size_t>(padding));
        length = 6;
    }
    return length;
}

}  // namespace

std::string patternOfDefaultText(std::string_view defaultText) {
    const SignificantDigits sig = digitsOfDefaultText(defaultText);
    if (sig.count == 0) {
        return "0000.00";  // zero, of either sign
    }
    char hundredths[kMaxPatternDigits];
    const int length = roundedHundredths(sig, hundredths);
    std::string text;
    text.reserve(static_cast<std::size_t>(length) + 2);
    if (sig.negative) {
        text.push_back('-');
    }
    text.append(hundredths, static_cast<std::size_t>(length - 2));
    text.push_back('.');
    text.append(hundredths + length - 2, 2);
    return text;
}

}  // namespace detail

std::string writeInteger(int value) {
    if (value < -32768 || value > 32767) {
        throw CalcError(ErrorKind::Overflow, "whole number beyond -32768..32767");
    }
    return std::to_string(value);
}

std::string twoDecimals(double value) {
    return writeDefault(readLenient(writePattern(value)));
}

double writtenMultiple(long long multiple, double step) {
    return readLenient(writeDefault(static_cast<double>(multiple) * step));
}

std::string writeShortest(double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

}  // namespace kalvitra
