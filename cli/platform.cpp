#include "platform.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// windows.h first: shellapi.h needs its types.
#include <shellapi.h>

#include <cerrno>
#include <cstdio>
#include <stdexcept>
#endif

namespace kalvitra::cli {

#ifdef _WIN32

void useBinaryStandardStreams() {
    for (std::FILE* stream : {stdin, stdout, stderr}) {
        if (_setmode(_fileno(stream), _O_BINARY) == -1) {
            // A stream that is not open has nothing to translate; any other
            // failure would change bytes silently.
            if (errno != EBADF) {
                throw std::runtime_error("cannot switch the standard streams to binary mode");
            }
        }
    }
}

namespace {

std::string toUtf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) {
        throw std::runtime_error("cannot read the command line");
    }
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
    utf8.pop_back();  // the terminating NUL
    return utf8;
}

}  // namespace

std::vector<std::string> utf8Arguments(int, char**) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) {
        throw std::runtime_error("cannot read the command line");
    }
    std::vector<std::string> arguments;
    try {
        for (int i = 0; i < count; ++i) {
            arguments.push_back(toUtf8(wide[i]));
        }
    } catch (...) {
        LocalFree(wide);
        throw;
    }
    LocalFree(wide);
    return arguments;
}

#else

void useBinaryStandardStreams() {}

std::vector<std::string> utf8Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

#endif

}  // namespace kalvitra::cli
