#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "byte_stream.h"

// The batch tool's design commands, named by the first argument:
//   widths    the best stage widths for a diameter
//   diameter  the smallest diameter for a net area
//   section   an SVG drawing of a sheet's section
// Apart from the command line and the standard streams so that tests can
// drive them.

namespace kalvitra::cli {

bool isDesignCommand(std::string_view word);

// Runs a design command; args are the arguments after the command's name.
// On success (and for --help) the text for standard output is appended to
// output; on failure output stays empty. Messages and the summary are
// appended to diagnostics. Returns the exit status: 0, 1 when an action
// stopped (section), 2 for bad options or input. Only section reads input.
int runDesignCommand(std::string_view command, const std::vector<std::string>& args,
                     ByteSource& input, std::string& output, std::string& diagnostics);

}  // namespace kalvitra::cli
