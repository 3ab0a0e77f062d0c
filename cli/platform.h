#pragma once

#include <string>
#include <vector>

// What the operating system hands the batch tool, made the same on every
// system: standard streams that pass bytes through untouched, and arguments
// in UTF-8. Everything else in the tool is the same code everywhere.

namespace kalvitra::cli {

// Standard input, output and error carry bytes as they are. On Windows the C
// runtime opens them in text mode, which would turn LF into CRLF on output,
// drop CR before LF on input and end the input at the first Ctrl-Z byte.
void useBinaryStandardStreams();

// The command-line arguments in UTF-8, the program name first. On Windows
// argv is in the system's ANSI code page, which cannot hold every character
// typed; the arguments are taken from the UTF-16 command line instead.
std::vector<std::string> utf8Arguments(int argc, char** argv);

}  // namespace kalvitra::cli
