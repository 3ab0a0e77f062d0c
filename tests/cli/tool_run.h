#pragma once

// Runs the built kalvitra-cli as a user would: arguments, a file on standard
// input, standard output and standard error captured, exit status. The
// process itself is started by tool_process.h, on Linux and Windows alike.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "tool_process.h"

namespace kalvitra::tool_run {

using testing::TempFile;
using testing::ToolRun;

// Runs the tool with stdin from stdinPath and stdout into stdoutPath (caught
// in ToolRun::out when not given).
inline ToolRun runToolWithPaths(const std::vector<std::string>& args,
                                const std::filesystem::path& stdinPath,
                                const std::filesystem::path* stdoutPath) {
    const ToolRun run = testing::runProgram(KALVITRA_CLI_PATH, args, stdinPath, stdoutPath);
    EXPECT_NE(run.status, -1) << "the tool must exit, not crash";
    return run;
}

inline ToolRun runTool(const std::vector<std::string>& args, std::string_view input) {
    TempFile in;
    in.write(input);
    return runToolWithPaths(args, in.path(), nullptr);
}

// The value of NAME in NAME=TEXT output, or "<missing>".
inline std::string fieldText(const std::string& sheet, const std::string& name) {
    const std::string key = "\n" + name + "=";
    const std::string text = "\n" + sheet;
    const std::size_t at = text.find(key);
    if (at == std::string::npos) {
        return "<missing>";
    }
    const std::size_t begin = at + key.size();
    return text.substr(begin, text.find('\n', begin) - begin);
}

inline std::size_t lineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

}  // namespace kalvitra::tool_run
