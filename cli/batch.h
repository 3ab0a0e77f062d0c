#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "byte_stream.h"
#include "kalvitra/sheet/actions.h"
#include "kalvitra/sheet/errors.h"
#include "kalvitra/sheet/sheet.h"

// The two ways the batch tool runs the calculations, apart from the command
// line and the standard streams so they can be driven from tests.

namespace kalvitra::cli {

enum ExitStatus : int {
    kExitSuccess = 0,
    kExitCalculationFailed = 1,  // an action stopped with an error
    kExitBadInput = 2,           // bad command line or input; output not to be used
};

// The line that reports a stopped action: "error: KIND: MESSAGE".
std::string describeCalcError(const CalcError& error);

// The kind that names a sheet refused for lenient reading, in its error line
// and a table's error column.
inline constexpr std::string_view kLenientInputKind = "lenient-input";

// Writes a line to diagnostics for each field that the actions would read
// leniently in sheet ("warning: MESSAGE"), with the input line of a table's
// row before the message when line is not 0 ("warning: line 3: MESSAGE").
// With strict they are errors ("error: lenient-input: MESSAGE") and the
// first message is returned: the sheet must not be calculated.
std::optional<std::string> reportLenientReadings(const SheetAccess& sheet,
                                                 std::span<const Action> actions, bool strict,
                                                 std::size_t line, std::string& diagnostics);

// How a table's output header names the columns: by field name and "error",
// or by the fields' Chinese labels and "错误", for a spreadsheet user.
enum class HeaderWords { FieldNames, ChineseLabels };

// How much of a table is read and checked to be UTF-8 before its first row
// is written: one that is not is refused with nothing written when its first
// invalid byte is in there. Memory stays flat however long the table is.
inline constexpr std::size_t kUtf8LookAhead = 64 * 1024;

struct BatchOptions {
    bool strict = false;  // a sheet read leniently is refused, not calculated
    HeaderWords header = HeaderWords::FieldNames;  // tables only
    bool byteOrderMark = false;                    // tables only: output starts with one
    std::size_t lookAhead = kUtf8LookAhead;        // tables only
    // Where a table's messages go as they come, so that a long table's
    // warnings do not pile up in memory; what is left stays in diagnostics.
    ByteSink* messages = nullptr;
};

// One sheet in NAME=TEXT lines: reads it from input, runs the actions in turn
// and appends all 39 fields to output, also when an action fails (its partial
// writes included). Bad input leaves output empty. Messages, one line each,
// are appended to diagnostics: first a warning for each lenient reading, or
// with options.strict an error, and then the sheet is written as read.
int runSheetBatch(std::string_view input, std::span<const Action> actions, std::string& output,
                  std::string& diagnostics, const BatchOptions& options = {});

// A CSV table of designs, one sheet per row, streamed from input to output:
// the header row of all 39 fields plus "error", then each row's sheet after
// its actions with the kind of its error, if any; lenient readings are
// reported as for one sheet, with the row's line. The input's header names
// columns by field name or label. A table that is not UTF-8 in its first
// options.lookAhead bytes is refused before any row is written; an invalid
// byte after them stops the table at its row like any other malformed line:
// the rows before it have already gone to output when it returns
// kExitBadInput. Throws std::runtime_error when input or output fails.
int runCsvBatch(ByteSource& input, ByteSink& output, std::span<const Action> actions,
                std::string& diagnostics, const BatchOptions& options = {});

}  // namespace kalvitra::cli
