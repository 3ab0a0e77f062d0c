#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "byte_stream.h"
#include "kalvitra/design/best_widths.h"

// The batch tool's commands, named by the first argument: the design
// questions (widths, diameter, rating, section) and the workshop's (cutlist, loss).
// Apart from the command line and the standard streams so that tests can
// drive them.

namespace kalvitra::cli {

bool isDesignCommand(std::string_view word);

// The start of a sheet for a found section: D=, then dpxs= with the stacking
// factor's text as given (when there is one), then PK1=..PKn=.
void appendSheetStart(const design::StepWidths& found, const std::string* stackingFactorText,
                      std::string& out);

// One line per command for the tool's help: two blanks, the name, and what
// it answers ("  widths    the best stage widths for a core diameter, ...").
std::string designCommandList();

// Runs a design command; args are the arguments after the command's name.
// On success (and for --help) the text for standard output is appended to
// output; on failure output stays empty. Messages and the summary are
// appended to diagnostics. Returns the exit status: 0, 1 when an action
// stopped or a file could not be written, 2 for bad options or input.
int runDesignCommand(std::string_view command, const std::vector<std::string>& args,
                     ByteSource& input, std::string& output, std::string& diagnostics);

}  // namespace kalvitra::cli
