// Any bytes as the batch tool's one-sheet input (NAME=TEXT lines), through
// the reader alone and through a whole batch run of the five actions.
//
// The reader either fills the sheet or names one problem on one line of the
// input. A sheet it filled, written back out, reads back unchanged: the
// batch tool's output is valid input. A batch run ends in one of its three
// statuses; bad input gives no output at all, anything else all 39 fields.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "batch.h"
#include "fuzz_support.h"
#include "kalvitra/sheet/actions.h"
#include "kalvitra/sheet/sheet.h"
#include "kalvitra/sheet/sheet_text.h"

namespace {

using kalvitra::Sheet;
using kalvitra::SheetTextError;
using kalvitra::fuzz::fail;
using kalvitra::fuzz::require;

bool isOneLine(std::string_view text) {
    return !text.empty() && text.find_first_of("\r\n") == std::string_view::npos;
}

std::size_t lineCount(std::string_view text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
}

void checkReader(std::string_view input) {
    Sheet sheet;
    const std::optional<SheetTextError> problem = kalvitra::readSheetLines(input, sheet);
    if (problem) {
        require(problem->line >= 1 && problem->line <= lineCount(input),
                "the problem names a line the input does not have", input);
        require(isOneLine(problem->describe()), "the problem does not fit on one line",
                problem->describe());
        // The parts the window words its own message from agree with the line.
        require(problem->kind != kalvitra::SheetTextProblem::GivenTwice ||
                    (problem->firstLine >= 1 && problem->firstLine < problem->line),
                "a field given twice names no earlier line", input);
        require(problem->kind != kalvitra::SheetTextProblem::InvalidUtf8 || problem->byte >= 1,
                "invalid UTF-8 without the byte where it is", input);
        return;
    }
    std::string written;
    kalvitra::appendSheetLines(sheet, written);
    Sheet again;
    const std::optional<SheetTextError> rereadProblem = kalvitra::readSheetLines(written, again);
    if (rereadProblem) {
        fail("a sheet written by the batch tool does not read back: " + rereadProblem->describe(),
             written);
    }
    require(again == sheet, "a sheet written by the batch tool reads back changed", written);
}

void checkBatch(std::string_view input) {
    std::string output;
    std::string diagnostics;
    int status = -1;
    try {
        status = kalvitra::cli::runSheetBatch(input, kalvitra::kAllActions, output, diagnostics);
    } catch (...) {
        fail("the batch run threw", input);
    }
    switch (status) {
        case kalvitra::cli::kExitBadInput:
            require(output.empty(), "bad input still gave output", input);
            require(!diagnostics.empty(), "bad input without a message", input);
            return;
        case kalvitra::cli::kExitCalculationFailed:
            require(!diagnostics.empty(), "a failed calculation without a message", input);
            break;
        case kalvitra::cli::kExitSuccess:
            break;
        default:
            fail("the batch run ended with an unknown status", input);
    }
    Sheet result;
    require(!kalvitra::readSheetLines(output, result), "the batch output is not a valid sheet",
            output);
    require(std::count(output.begin(), output.end(), '\n') ==
                static_cast<std::ptrdiff_t>(kalvitra::kFieldCount),
            "the batch output does not list every field once", output);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    checkReader(input);
    checkBatch(input);
    return 0;
}
