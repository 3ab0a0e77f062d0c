#include "platform.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// windows.h first: shellapi.h needs its types.
#include <shellapi.h>

#include <cstdio>
#endif

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <system_error>

#include "kalvitra/sheet/sheet_file.h"

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

namespace {

namespace fs = std::filesystem;

// Paths arrive in UTF-8 on every system; on Windows the path becomes UTF-16.
std::string reasonOf(int error) {
    return error != 0 ? std::strerror(error) : "input or output error";
}

// A name beside target that no other run picks.
fs::path temporaryBeside(const fs::path& target) {
    static std::mt19937_64 random{std::random_device{}()};
    constexpr char kHex[] = "0123456789abcdef";
    std::string suffix = ".kalvitra-";
    for (std::uint64_t bits = random(); suffix.size() < 26; bits >>= 4) {
        suffix += kHex[bits & 0xF];
    }
    fs::path temporary = target;
    temporary += suffix + ".tmp";
    return temporary;
}

}  // namespace

std::string readFileBytes(const std::string& path, std::size_t maxBytes) {
    FileBytes read = readBoundedFile(pathFromUtf8(path), maxBytes);
    if (!read.error) {
        return std::move(read.bytes);
    }
    // In the system's words, as the tool has always said them.
    switch (read.error->kind) {
        case FileReadError::Kind::NotFound:
            throw std::runtime_error(reasonOf(ENOENT));
        case FileReadError::Kind::IsDirectory:
            throw std::runtime_error(reasonOf(EISDIR));
        case FileReadError::Kind::NotReadable:
            throw std::runtime_error(reasonOf(EACCES));
        case FileReadError::Kind::TooLarge:
            throw std::runtime_error("larger than " + std::to_string(maxBytes) + " bytes");
        default:
            throw std::runtime_error(read.error->reason);
    }
}

void replaceFile(const std::string& path, std::string_view bytes) {
    const auto refuse = [&](const std::string& reason) {
        throw std::runtime_error("cannot write " + path + ": " + reason);
    };
    std::error_code error;
    fs::path target = pathFromUtf8(path);
    if (fs::is_symlink(fs::symlink_status(target, error))) {
        target = fs::canonical(target, error);
        if (error) {
            refuse(error.message());
        }
    }
    const fs::file_status status = fs::status(target, error);
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        refuse("not a regular file");
    }
    const fs::path temporary = temporaryBeside(target);
    {
        errno = 0;
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            refuse(reasonOf(errno));
        }
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            const int reason = errno;
            fs::remove(temporary, error);
            refuse(reasonOf(reason));
        }
    }
    fs::rename(temporary, target, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        refuse(error.message());
    }
}

}  // namespace kalvitra::cli
