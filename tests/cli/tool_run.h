#pragma once

// Runs the built kalvitra-cli as a user would: arguments, a file on standard
// input, standard output and standard error captured, exit status.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

extern char** environ;

namespace kalvitra::tool_run {

namespace fs = std::filesystem;

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

class TempFile {
public:
    TempFile() {
        std::string pattern = (fs::temp_directory_path() / "kalvitra-cli-test-XXXXXX").string();
        const int fd = mkstemp(pattern.data());
        EXPECT_GE(fd, 0);
        close(fd);
        path_ = pattern;
    }
    ~TempFile() { fs::remove(path_); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& path() const { return path_; }
    void write(std::string_view bytes) const {
        std::ofstream(path_, std::ios::binary).write(bytes.data(), std::ssize(bytes));
    }
    std::string read() const {
        std::ifstream in(path_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    std::string path_;
};

// Runs the tool with stdin from stdinPath and stdout into stdoutPath (temp
// files unless given).
inline ToolRun runToolWithPaths(const std::vector<std::string>& args, const std::string& stdinPath,
                                const std::string* stdoutPath) {
    TempFile out;
    TempFile err;
    const std::string& outPath = stdoutPath ? *stdoutPath : out.path();
    std::vector<std::string> argStrings = {KALVITRA_CLI_PATH};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argStrings) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, stdinPath.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, outPath.c_str(), O_WRONLY | O_TRUNC, 0);
    posix_spawn_file_actions_addopen(&files, 2, err.path().c_str(), O_WRONLY | O_TRUNC, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &files, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    ToolRun run;
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << argv[0];
        return run;
    }
    int waitStatus = 0;
    waitpid(pid, &waitStatus, 0);
    EXPECT_TRUE(WIFEXITED(waitStatus)) << "the tool must exit, not crash";
    run.status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
    run.out = stdoutPath ? "" : out.read();
    run.err = err.read();
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
