#include "kalvitra/sheet/sheet_file.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <system_error>

namespace kalvitra {
namespace {

namespace fs = std::filesystem;
using Kind = FileReadError::Kind;

FileBytes failed(Kind kind, std::string reason = {}) {
    FileBytes read;
    read.error = FileReadError{kind, std::move(reason), 0, std::nullopt};
    return read;
}

// The system's words for errno, when it set one.
std::string reasonOf(int error) {
    return error != 0 ? std::generic_category().message(error) : "input or output error";
}

// Why the file cannot be opened, or nothing when it may be.
std::optional<FileBytes> refusedBeforeOpening(const fs::path& path) {
    std::error_code code;
    const fs::file_status status = fs::status(path, code);
    if (status.type() == fs::file_type::not_found) {
        return failed(Kind::NotFound);
    }
    if (status.type() == fs::file_type::directory) {
        return failed(Kind::IsDirectory);
    }
    return std::nullopt;
}

FileBytes refusedOpening(int error) {
    if (error == EACCES || error == EPERM) {
        return failed(Kind::NotReadable);
    }
    if (error == ENOENT) {
        return failed(Kind::NotFound);
    }
    return failed(Kind::CannotOpen, reasonOf(error));
}

}  // namespace

FileBytes readBoundedFile(const fs::path& path, std::uintmax_t maxBytes) {
    if (std::optional<FileBytes> refused = refusedBeforeOpening(path)) {
        return *std::move(refused);
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) {
        return refusedOpening(errno);
    }
    constexpr std::uintmax_t kChunk = 64 * 1024;
    FileBytes read;
    std::string chunk;
    for (;;) {
        chunk.resize(static_cast<std::size_t>(std::min(kChunk, maxBytes + 1 - read.bytes.size())));
        errno = 0;
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        read.bytes.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
        if (read.bytes.size() > maxBytes) {
            FileBytes large = failed(Kind::TooLarge);
            large.error->limit = maxBytes;
            return large;
        }
        if (in.bad() || (in.fail() && !in.eof())) {
            return failed(Kind::ReadFailed, reasonOf(errno));
        }
        if (in.eof()) {
            return read;
        }
    }
}

LoadedSheet loadSheetFile(const fs::path& path) {
    FileBytes bytes = readBoundedFile(path, kMaxSheetFileBytes);
    LoadedSheet loaded;
    if (bytes.error) {
        loaded.error = std::move(bytes.error);
        return loaded;
    }
    // A scratch sheet: a bad line further down must not leave the lines
    // before it filled in.
    Sheet sheet;
    if (std::optional<SheetTextError> problem = readSheetLines(bytes.bytes, sheet)) {
        loaded.error = FileReadError{Kind::Malformed, {}, 0, std::move(problem)};
        return loaded;
    }
    loaded.sheet = sheet;
    return loaded;
}

fs::path pathFromUtf8(std::string_view utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace kalvitra
