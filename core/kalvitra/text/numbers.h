#pragma once

#include <string>
#include <string_view>

// Conversions between field text and numbers. Every calculation reads and
// writes its fields through these five, so a result written by one action
// reads back in the next exactly as the designer sees it. None of them
// depends on the regional settings: the decimal sign is always the point.

namespace kalvitra {

// Lenient reading: how every calculation reads its inputs. Blanks, tabs and
// line feeds are dropped wherever they stand; then the longest prefix of the
// form [+-] digits [. digits] [(E|e) [+-] digits] is read (the point may come
// first) and the rest is ignored. No digit at all reads as 0, so text that is
// not a number never fails. Throws CalcError(Overflow) for a magnitude beyond
// the double range; a magnitude too small for it reads as 0.
//   ""                     -> 0
//   "12.5mm"               -> 12.5
//   "  7.65"               -> 7.65
//   "1 2"                  -> 12
//   "1,5"                  -> 1
//   ".5"                   -> 0.5
//   "1.5E-3"               -> 0.0015
//   "2E"                   -> 2
//   "abc"                  -> 0
//   "1.23456789012346E+15" -> 1234567890123460
double readLenient(std::string_view text);

// Strict reading: the whole text must be one number, blanks allowed only
// around it; commas may group the digits of the integer part.
// Throws CalcError(TypeMismatch) for anything else, CalcError(Overflow) for a
// magnitude beyond the double range.
//   " 289.499 "   -> 289.499
//   "1,234.5"     -> 1234.5
//   "1.5E+20"     -> 1.5e20
//   ""            -> TypeMismatch
//   "12.5mm"      -> TypeMismatch
double readStrict(std::string_view text);

// What keeps a typed text from being one plain number.
enum class PlainNumberProblem { None, Empty, NotANumber, DecimalComma, OutOfRange };

struct PlainReading {
    double value = 0;
    PlainNumberProblem problem = PlainNumberProblem::None;
};

// Reading of a number typed outside the sheet, where a slip must be refused
// rather than read as some other number: one plain finite decimal number
// ([+-] digits [. digits] [(E|e) [+-] digits]), blanks and tabs around it
// allowed, no digit-group commas, no inf or nan. Any comma is a
// DecimalComma, never a thousands separator; a magnitude beyond the double
// range is OutOfRange; one too small for it reads as 0, as in strict reading.
// value holds the number only when problem is None.
//   " 200.5 "  -> 200.5
//   "1.5E-3"   -> 0.0015
//   ""         -> Empty
//   "200mm"    -> NotANumber
//   "200,5"    -> DecimalComma
//   "1,234.5"  -> DecimalComma
//   "1e999"    -> OutOfRange
PlainReading readPlainNumber(std::string_view text);

// Default writing: at most 15 significant digits, trailing zeros dropped,
// plain form for decimal exponents -4..14 and exponent form otherwise.
// Zero of either sign is "0"; no leading blank, "-" for a negative number.
//   0.5          -> "0.5"
//   1.0 / 3      -> "0.333333333333333"
//   0.1 + 0.2    -> "0.3"
//   1e14         -> "100000000000000"
//   1e15         -> "1E+15"
//   0.00001      -> "1E-05"
//   1e-100       -> "1E-100"
std::string writeDefault(double value);

// Writes the default text of value into out, returning its length; out must
// hold at least kMaxDefaultTextLength characters. For hot loops that must not
// allocate.
inline constexpr std::size_t kMaxDefaultTextLength = 24;
std::size_t writeDefault(double value, char* out);

// Pattern writing with "0000.00": the 15-digit default text of value, rounded
// to two decimals half away from zero on its decimal digits (not on the
// binary value), with at least four integer digits.
//   12.3            -> "0012.30"
//   0               -> "0000.00"
//   62.449979983984 -> "0062.45"
//   2.675           -> "0002.68"
//   0.125           -> "0000.13"
//   12345.678       -> "12345.68"
//   -3.456          -> "-0003.46"
//   -0.001          -> "-0000.00"  (a negative thickness stays visibly negative)
std::string writePattern(double value);

// A number as labels and summaries show it: rounded to two decimals half
// away from zero, as the thickness fields are, trailing zeros dropped.
//   190             -> "190"
//   181.12913643046 -> "181.13"
//   62.449979983984 -> "62.45"
std::string twoDecimals(double value);

// The shortest text that reads back as the same double, as std::to_chars
// writes it: for tables that other programs read, where every bit counts.
//   128.582424           -> "128.582424"
//   0.1 + 0.2            -> "0.30000000000000004"
//   1e21                 -> "1e+21"
std::string writeShortest(double value);

// The number that the default text of multiple × step stands for, so that a
// value on a grid of steps reads back exactly as it is written:
//   (3, 0.1) -> 0.3, not 0.30000000000000004
double writtenMultiple(long long multiple, double step);

// Beyond this multiple of a step, neighbouring multiples could share one
// 15-digit text, and a written value could no longer tell them apart.
inline constexpr long long kMaxWrittenMultiple = 100'000'000'000'000LL;

// Integer writing of a whole number from -32768 to 32767:
//   0 -> "0", -12 -> "-12". Throws CalcError(Overflow) outside that range.
std::string writeInteger(int value);

}  // namespace kalvitra
