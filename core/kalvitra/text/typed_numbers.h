#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "kalvitra/text/numbers.h"

// Numbers as a person types them into a box of a window: full-width forms
// from a Chinese input method folded, a decimal comma told apart, a list of
// widths read and written back.

namespace kalvitra {

// Text from a Chinese input method in its full-width forms read as the
// characters they stand for: the full-width ASCII block (digits, point,
// signs, letters, comma) and the ideographic space folded to ASCII, the
// minus sign U+2212 to '-'. Anything else is kept as it is.
//   "１９６．５"  -> "196.5"
//   "－１Ｅ３"    -> "-1E3"
//   "１９６，５"  -> "196,5"   (still a decimal comma, refused as such)
std::string foldFullWidth(std::string_view text);

// One number as a person types it: full-width forms folded, then read as a
// plain number (readPlainNumber), so a decimal comma is told apart.
PlainReading readTypedNumber(std::string_view text);

// Widths typed or pasted as a list. A list is what a designer types here, so
// blanks (ideographic ones too), line breaks, commas (full-width too), the
// enumeration comma 、 and semicolons all separate widths, any number of them
// in a row; a decimal comma inside one width cannot be told from a separator
// and is read as one. Problem None with the widths, or the problem of the
// first width that does not read, 1-based in index, with its text as typed;
// Empty when there is no width at all.
//   "190 180 160"        -> {190, 180, 160}
//   "210,200，185、170;160" -> {210, 200, 185, 170, 160}
//   "210\r\n200\r\n185"     -> {210, 200, 185}
//   "190 18x5"           -> NotANumber at 2, text "18x5"
struct WidthListReading {
    std::vector<double> widths;
    PlainNumberProblem problem = PlainNumberProblem::None;
    std::size_t index = 0;
    std::string text;  // the width that does not read, full-width forms folded
};
WidthListReading readWidthList(std::string_view text);
// The words of a width list, whether they read or not, one blank between:
// the text a box and a design file keep, so a pasted column or a list with
// commas shows and prints on one line. A separator after the last word stays
// as one blank, so the next width typed starts a word of its own.
//   "210\r\n200，x" -> "210 200 x"      "210," -> "210 "      " \n" -> ""
std::string normaliseWidthList(std::string_view text);
// The widths as their default texts, one blank between: "190 181.5".
std::string writeWidthList(std::span<const double> widths);

}  // namespace kalvitra
