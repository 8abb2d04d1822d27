// Whether saving the configuration needs elevation: the real file and folder under Wine where
// it can refuse (a read-only file, a file held, a missing folder), and a stand-in answer where
// only a standard user on Windows is refused (access denied). Nothing of the probing shows.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "config/write_access.h"
#include "support/temp_dir.h"

namespace {

constexpr unsigned long real = ~0ul; // the system answers

unsigned long open_answer = real, folder_answer = real;
std::string folder_asked;

const WriteProbeCalls probes = {
    [](const char* path) {
        return open_answer == real ? WriteProbeCalls::system.open_existing(path) : open_answer;
    },
    [](const char* folder) {
        folder_asked = folder;
        return folder_answer == real ? WriteProbeCalls::system.create_in(folder) : folder_answer;
    },
};

enum class File { writable, read_only, held, none, no_folder };

// Every name in the folder with its bytes, in one text.
std::string folder_as_found(const std::string& folder) {
    std::string seen;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        seen += entry.path().filename().string() + "=" + read_bytes(entry.path().string()) + "|";
    }
    return seen;
}

} // namespace

TEST(WriteAccess, RefusedRightsNeedElevationAndNothingElseDoes) {
    constexpr unsigned long denied = ERROR_ACCESS_DENIED;
    // clang-format off
    const struct {
        const char* decision;
        File file;
        unsigned long open_answer, folder_answer;
        bool needs_elevation;
    } cases[] = {
        {"a writable file and folder",        File::writable,  real,   real,   false},
        {"a read-only file",                  File::read_only, real,   real,   true},
        {"the file refused",                  File::writable,  denied, real,   true},
        {"the file held by another program",  File::held,      real,   real,   false},
        {"no file, the folder refused",       File::none,      real,   denied, true},
        {"no file, a writable folder",        File::none,      real,   real,   false},
        {"the file writable, the folder not", File::writable,  real,   denied, true},
        {"no folder at all",                  File::no_folder, real,   real,   false},
    };
    // clang-format on
    for (const auto& row : cases) {
        SCOPED_TRACE(row.decision);
        const TempDir dir;
        const std::string path =
            row.file == File::no_folder ? dir.file("gone\\ryxc.conf") : dir.file("ryxc.conf");
        if (row.file != File::none && row.file != File::no_folder) {
            write_bytes(path, "server=kept\r\n");
        }
        if (row.file == File::read_only) {
            ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
        }
        const HANDLE held = row.file == File::held
                                ? CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                              FILE_ATTRIBUTE_NORMAL, nullptr)
                                : INVALID_HANDLE_VALUE;
        open_answer = row.open_answer;
        folder_answer = row.folder_answer;
        folder_asked.clear();
        const std::string before = folder_as_found(dir.path());

        EXPECT_EQ(row.needs_elevation, config_write_needs_elevation(path.c_str(), probes));
        if (!row.needs_elevation) { // the folder is asked about too
            EXPECT_EQ(path.substr(0, path.rfind('\\') + 1), folder_asked);
        }
        // Nothing made, emptied or left behind.
        EXPECT_EQ(before, folder_as_found(dir.path()));
        if (held != INVALID_HANDLE_VALUE) {
            CloseHandle(held);
        }
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}
