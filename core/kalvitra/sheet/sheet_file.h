#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "kalvitra/sheet/sheet.h"
#include "kalvitra/sheet/sheet_text.h"

// A file the windows open, read whole but bounded: a sheet file (NAME=TEXT
// lines, as the batch tool writes them), or any other file of a window's
// own. Every window reads by this one rule and words the kinds of problem
// in its own language.

namespace kalvitra {

// A sheet has a few dozen short lines. Anything beyond this is not a sheet,
// and reading it whole would only eat memory.
inline constexpr std::uintmax_t kMaxSheetFileBytes = 1024 * 1024;

struct FileReadError {
    enum class Kind {
        NotFound,     // no such file, or a link to none
        IsDirectory,  // a folder
        NotReadable,  // it exists, but this user may not read it
        CannotOpen,   // opening it failed otherwise: reason says why
        TooLarge,     // longer than the limit: limit holds it
        ReadFailed,   // reading it failed after it opened: reason says why
        Malformed,    // not a sheet's text: text says what and on which line
    };
    Kind kind = Kind::NotFound;
    std::string reason;  // the system's words, in its encoding
    std::uintmax_t limit = 0;
    std::optional<SheetTextError> text;
};

struct FileBytes {
    std::string bytes;
    std::optional<FileReadError> error;  // then bytes is empty
};

// The whole file, up to maxBytes. It is read up to one byte past the limit,
// whatever size it claims: a pipe or a device tells no size, and a file may
// grow while it is read.
FileBytes readBoundedFile(const std::filesystem::path& path, std::uintmax_t maxBytes);

// The sheet read, or why there is none. On an error the sheet is the initial
// sheet, never one filled up to the bad line.
struct LoadedSheet {
    Sheet sheet;
    std::optional<FileReadError> error;
};

// Reads the sheet file at path, of at most kMaxSheetFileBytes. Fields the
// file does not name keep their initial texts.
LoadedSheet loadSheetFile(const std::filesystem::path& path);

// The path of a name given in UTF-8, as the windows' toolkit and the command
// line give them: UTF-16 on Windows, the bytes themselves elsewhere.
//   pathFromUtf8("D:\\设计\\core.kvs") on Windows -> L"D:\\设计\\core.kvs"
std::filesystem::path pathFromUtf8(std::string_view utf8);

}  // namespace kalvitra
