#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Runs a program the way a shell would, with its standard input read from a
// file and its standard output and error caught, on Linux (posix_spawn) and
// on Windows (CreateProcessW) alike, so the end-to-end tests and the
// cross-system comparison drive the real executable on both.

namespace kalvitra::testing {

struct ToolRun {
    int status = -1;  // exit status; -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// A new empty file in the system's temporary folder, removed again with the
// object. Throws std::runtime_error when no file can be made.
class TempFile {
public:
    TempFile();
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::filesystem::path& path() const { return path_; }
    void write(std::string_view bytes) const;
    std::string read() const;

private:
    std::filesystem::path path_;
};

// Runs program with args (UTF-8; on Windows they pass through the UTF-16
// command line). Standard input comes from stdinPath; standard output goes
// to stdoutPath when given, else it is caught in ToolRun::out. Throws
// std::runtime_error when the program cannot be started.
ToolRun runProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                   const std::filesystem::path& stdinPath,
                   const std::filesystem::path* stdoutPath = nullptr);

// runProgram with the input given as bytes.
ToolRun runProgramOn(const std::filesystem::path& program, const std::vector<std::string>& args,
                     std::string_view input);

}  // namespace kalvitra::testing
