#pragma once

#include <span>
#include <string>
#include <string_view>

#include "byte_stream.h"
#include "kalvitra/actions.h"
#include "kalvitra/errors.h"

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

// One sheet in NAME=TEXT lines: reads it from input, runs the actions in turn
// and appends all 39 fields to output, also when an action fails (its partial
// writes included). Bad input leaves output empty. Messages, one line each,
// are appended to diagnostics.
int runSheetBatch(std::string_view input, std::span<const Action> actions, std::string& output,
                  std::string& diagnostics);

// A CSV table of designs, one sheet per row, streamed from input to output:
// the header row of all 39 fields plus "error", then each row's sheet after
// its actions with the kind of its error, if any. Rows before a malformed
// line have already gone to output when it returns kExitBadInput.
// Throws std::runtime_error when input or output fails.
int runCsvBatch(ByteSource& input, ByteSink& output, std::span<const Action> actions,
                std::string& diagnostics);

}  // namespace kalvitra::cli
