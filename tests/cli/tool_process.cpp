#include "tool_process.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

namespace kalvitra::testing {

namespace fs = std::filesystem;

void TempFile::write(std::string_view bytes) const {
    std::ofstream(path_, std::ios::binary).write(bytes.data(), std::ssize(bytes));
}

std::string TempFile::read() const {
    std::ifstream in(path_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TempFile::~TempFile() {
    std::error_code ignored;
    fs::remove(path_, ignored);
}

ToolRun runProgramOn(const fs::path& program, const std::vector<std::string>& args,
                     std::string_view input) {
    TempFile in;
    in.write(input);
    return runProgram(program, args, in.path());
}

#ifdef _WIN32

namespace {

std::wstring widen(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
    return wide;
}

// One argument as the C runtime's command-line parser reads it back: in
// quotes when needed, backslashes doubled only before a quote.
void appendQuoted(std::wstring& line, const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        line += arg;
        return;
    }
    line += L'"';
    std::size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        line.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        line += c;
    }
    line.append(2 * backslashes, L'\\');
    line += L'"';
}

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (valid()) {
            CloseHandle(handle_);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

HANDLE openInheritable(const fs::path& path, bool forWriting) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return CreateFileW(path.c_str(), forWriting ? GENERIC_WRITE : GENERIC_READ,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                       forWriting ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

TempFile::TempFile() {
    wchar_t name[MAX_PATH];
    const fs::path folder = fs::temp_directory_path();
    if (GetTempFileNameW(folder.c_str(), L"klv", 0, name) == 0) {
        throw std::runtime_error("cannot create a temporary file in " + folder.string());
    }
    path_ = name;
}

ToolRun runProgram(const fs::path& program, const std::vector<std::string>& args,
                   const fs::path& stdinPath, const fs::path* stdoutPath) {
    TempFile out;
    TempFile err;
    ToolRun run;
    const Handle in(openInheritable(stdinPath, false));
    const Handle outFile(openInheritable(stdoutPath ? *stdoutPath : out.path(), true));
    const Handle errFile(openInheritable(err.path(), true));
    if (!in.valid() || !outFile.valid() || !errFile.valid()) {
        throw std::runtime_error("cannot open the standard streams for " + program.string());
    }
    std::wstring commandLine;
    appendQuoted(commandLine, program.wstring());
    for (const std::string& arg : args) {
        commandLine += L' ';
        appendQuoted(commandLine, widen(arg));
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in.get();
    startup.hStdOutput = outFile.get();
    startup.hStdError = errFile.get();
    PROCESS_INFORMATION process{};
    // Wine now and then fails to set up a new process (ERROR_INTERNAL_ERROR,
    // about once in some thousand starts); the program has not run then, so
    // starting it again changes nothing it does.
    bool started = false;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        started = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                                 nullptr, nullptr, &startup, &process);
        if (!started && GetLastError() != ERROR_INTERNAL_ERROR) {
            break;
        }
    }
    if (!started) {
        throw std::runtime_error("cannot start " + program.string() + " (error " +
                                 std::to_string(GetLastError()) + ")");
    }
    const Handle processHandle(process.hProcess);
    const Handle threadHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    // A crash ends a Windows program with an NTSTATUS code such as
    // 0xC0000005, never with a small number.
    run.status = exitCode < 256 ? static_cast<int>(exitCode) : -1;
    run.out = stdoutPath ? "" : out.read();
    run.err = err.read();
    return run;
}

#else

TempFile::TempFile() {
    std::string pattern = (fs::temp_directory_path() / "kalvitra-cli-test-XXXXXX").string();
    const int fd = mkstemp(pattern.data());
    if (fd < 0) {
        throw std::runtime_error("cannot create a temporary file like " + pattern);
    }
    close(fd);
    path_ = pattern;
}

ToolRun runProgram(const fs::path& program, const std::vector<std::string>& args,
                   const fs::path& stdinPath, const fs::path* stdoutPath) {
    TempFile out;
    TempFile err;
    const fs::path& outPath = stdoutPath ? *stdoutPath : out.path();
    std::vector<std::string> argStrings = {program.string()};
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
    if (spawned != 0) {
        throw std::runtime_error("cannot start " + program.string());
    }
    int waitStatus = 0;
    waitpid(pid, &waitStatus, 0);
    ToolRun run;
    run.status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
    run.out = stdoutPath ? "" : out.read();
    run.err = err.read();
    return run;
}

#endif

}  // namespace kalvitra::testing
