#include "kalvitra/sheet/sheet_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace kalvitra {
namespace {

namespace fs = std::filesystem;
using Kind = FileReadError::Kind;

// A folder of its own under the system's temporary folder, removed after.
class Folder {
public:
    Folder()
        : path_(fs::temp_directory_path() /
                ("kalvitra-sheet-file-" + std::to_string(std::random_device{}()))) {
        fs::create_directories(path_);
    }
    ~Folder() {
        std::error_code ignored;
        fs::permissions(path_ / "locked.kvs", fs::perms::owner_all, ignored);
        fs::remove_all(path_, ignored);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    const fs::path& path() const { return path_; }
    fs::path write(const fs::path& name, const std::string& bytes) const {
        fs::create_directories((path_ / name).parent_path());
        std::ofstream(path_ / name, std::ios::binary) << bytes;
        return path_ / name;
    }

private:
    fs::path path_;
};

std::string sheetOf(std::size_t bytes) {
    std::string text = "Text1=";
    text.append(bytes - text.size(), 'x');
    return text;
}

struct Refusal {
    const char* name;
    fs::path (*make)(const Folder& folder);  // the file to read; empty: not on this system
    Kind kind;
    friend void PrintTo(const Refusal& refusal, std::ostream* os) { *os << refusal.name; }
};

class SheetFileRefusal : public testing::TestWithParam<Refusal> {};

// Every kind of file that is not a sheet, once; the windows word each kind.
TEST_P(SheetFileRefusal, SaysWhichKindAndKeepsTheInitialSheet) {
    const Folder folder;
    const fs::path path = GetParam().make(folder);
    if (path.empty()) {
        GTEST_SKIP() << "not on this system";
    }
    const LoadedSheet loaded = loadSheetFile(path);
    ASSERT_TRUE(loaded.error);
    EXPECT_EQ(loaded.error->kind, GetParam().kind);
    EXPECT_EQ(loaded.sheet, Sheet());
    switch (loaded.error->kind) {
        case Kind::CannotOpen:
        case Kind::ReadFailed:
            EXPECT_FALSE(loaded.error->reason.empty());
            break;
        case Kind::TooLarge:
            EXPECT_EQ(loaded.error->limit, kMaxSheetFileBytes);
            break;
        case Kind::Malformed:
            ASSERT_TRUE(loaded.error->text);
            EXPECT_EQ(loaded.error->text->line, 3u);
            EXPECT_EQ(loaded.error->text->kind, SheetTextProblem::UnknownField);
            break;
        default:
            EXPECT_TRUE(loaded.error->reason.empty());
            break;
    }
}

fs::path missing(const Folder& folder) {
    return folder.path() / "missing.kvs";
}

fs::path folderItself(const Folder& folder) {
    return folder.path();
}

// Root reads every file: then there is nothing to see.
fs::path locked(const Folder& folder) {
    const fs::path path = folder.write("locked.kvs", "D=200\n");
    fs::permissions(path, fs::perms::owner_write);
    return std::ifstream(path).is_open() ? fs::path() : path;
}

// Links are the POSIX systems' here: Windows keeps them for administrators.
fs::path linkLoop(const Folder& folder) {
#ifdef _WIN32
    (void)folder;
    return {};
#else
    std::error_code error;
    fs::create_symlink(folder.path() / "b.kvs", folder.path() / "a.kvs", error);
    fs::create_symlink(folder.path() / "a.kvs", folder.path() / "b.kvs", error);
    return error ? fs::path() : folder.path() / "a.kvs";
#endif
}

fs::path onePastTheLimit(const Folder& folder) {
    return folder.write("large.kvs", sheetOf(kMaxSheetFileBytes + 1));
}

// A device tells no size; it is read up to the limit only.
fs::path endlessDevice(const Folder&) {
    return fs::exists("/dev/zero") ? fs::path("/dev/zero") : fs::path();
}

// The kernel refuses to read this process's memory at address 0.
fs::path unreadableAfterOpening(const Folder&) {
    return std::ifstream("/proc/self/mem").is_open() ? fs::path("/proc/self/mem") : fs::path();
}

fs::path badThirdLine(const Folder& folder) {
    return folder.write("bad.kvs", "D=200\nPK1=190\nFoo=1\n");
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, SheetFileRefusal,
    testing::Values(Refusal{"Missing", missing, Kind::NotFound},
                    Refusal{"Folder", folderItself, Kind::IsDirectory},
                    Refusal{"NotReadable", locked, Kind::NotReadable},
                    Refusal{"LinkLoop", linkLoop, Kind::CannotOpen},
                    Refusal{"OneBytePastTheLimit", onePastTheLimit, Kind::TooLarge},
                    Refusal{"EndlessDevice", endlessDevice, Kind::TooLarge},
                    Refusal{"ReadError", unreadableAfterOpening, Kind::ReadFailed},
                    Refusal{"UnknownFieldOnLineThree", badThirdLine, Kind::Malformed}),
    [](const auto& info) { return std::string(info.param.name); });

// A sheet of exactly the limit, in the folder 设计, named as the windows name
// it: in UTF-8.
TEST(SheetFile, ReadsUpToTheLimitFromAChineseFolder) {
    const Folder folder;
    const std::string text = "D=200\r\n" + sheetOf(kMaxSheetFileBytes - 7);
    const std::string name = "\xE8\xAE\xBE\xE8\xAE\xA1/\xE8\xAE\xA1\xE7\xAE\x97\xE5\x8D\x95.kvs";
    folder.write(pathFromUtf8(name), text);
    const std::string utf8 = reinterpret_cast<const char*>(folder.path().u8string().c_str());

    const LoadedSheet loaded = loadSheetFile(pathFromUtf8(utf8 + "/" + name));
    ASSERT_FALSE(loaded.error);
    EXPECT_EQ(loaded.sheet.textRef(Field::D), "200");
    EXPECT_EQ(loaded.sheet.textRef(Field::Text1).size(), kMaxSheetFileBytes - 13);
}

}  // namespace
}  // namespace kalvitra
