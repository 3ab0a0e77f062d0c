#pragma once

#include <cstddef>
#include <string>
#include <string_view>
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

// The bytes of the file at a UTF-8 path, at most maxBytes of them. Throws
// std::runtime_error with the reason, in the system's words where it has
// them: "No such file or directory", "larger than 1048576 bytes".
std::string readFileBytes(const std::string& path, std::size_t maxBytes);

// Puts bytes into the file at a UTF-8 path whole or not at all: they are
// written to a new file in the same folder, which is then renamed over the
// path (through a symbolic link, to the file it names). When anything fails,
// the new file is removed and the old one, if any, is left as it was; the
// path of a device or folder is refused rather than replaced. Throws
// std::runtime_error "cannot write PATH: REASON".
void replaceFile(const std::string& path, std::string_view bytes);

}  // namespace kalvitra::cli
