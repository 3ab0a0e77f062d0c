#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "kalvitra/sheet/sheet.h"
#include "kalvitra/text/input_error.h"

// A sheet as text, one NAME=TEXT line per field: what the batch tool reads
// and writes, and what the window opens.

namespace kalvitra {

// What can be wrong with a sheet's text. Each front end words it in its own
// language from these parts; problem holds the batch tool's English line.
enum class SheetTextProblem {
    InvalidUtf8,    // byte: where in the line (1-based) the bad byte is
    MissingEquals,  // subject: the whole line
    UnknownField,   // subject: the name before the '='
    GivenTwice,     // subject: the field's name; firstLine: where it was first
};

struct SheetTextError : InputError {
    SheetTextProblem kind = SheetTextProblem::InvalidUtf8;
    std::string subject;  // as read, possibly with control characters: quote it
    std::size_t byte = 0;
    std::size_t firstLine = 0;
};

// Fills sheet from NAME=TEXT lines. Lines end with LF; one carriage return
// before it is dropped. A UTF-8 byte order mark at the very start is skipped.
// Lines that are empty or hold only blanks and tabs are ignored. NAME is a
// field name (case-sensitive) and TEXT everything after the first '=', kept
// byte for byte. Fields not named keep the text they have in sheet.
//
// Returns the first problem found: invalid UTF-8, a line without '=', an
// unknown field, a field given twice. The sheet is then partly filled and must
// be discarded; callers read into a scratch sheet before printing anything.
std::optional<SheetTextError> readSheetLines(std::string_view input, Sheet& sheet);

// Appends all 39 fields as NAME=TEXT lines, in field order.
void appendSheetLines(const Sheet& sheet, std::string& out);

}  // namespace kalvitra
