// Whether saving the configuration needs elevation: the real file and folder under Wine where
// it can refuse (a read-only file, a missing folder), and a stand-in answer where only a
// standard user on Windows is refused (access denied).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "config/write_access.h"
#include "support/temp_dir.h"

namespace {

constexpr unsigned long real = ~0ul; // the system answers

unsigned long open_answer = real, folder_answer = real;

const WriteProbeCalls probes = {
    [](const char* path) {
        return open_answer == real ? WriteProbeCalls::system.open_existing(path) : open_answer;
    },
    [](const char* folder) {
        return folder_answer == real ? WriteProbeCalls::system.create_in(folder) : folder_answer;
    },
};

} // namespace

TEST(WriteAccess, RefusedRightsNeedElevationAndNothingElseDoes) {
    constexpr unsigned long denied = ERROR_ACCESS_DENIED;
    // clang-format off
    const struct {
        const char* decision;
        const char* name;
        bool read_only;
        unsigned long open_answer, folder_answer;
        bool needs_elevation;
    } cases[] = {
        {"the file refused",   "ryxc.conf",       false, denied, real,   true},
        {"the folder refused", "ryxc.conf",       false, real,   denied, true},
        {"a read-only file",   "ryxc.conf",       true,  real,   real,   true},
        {"both writable",      "ryxc.conf",       false, real,   real,   false},
        {"no folder at all",   "gone\\ryxc.conf", false, real,   real,   false},
    };
    // clang-format on
    for (const auto& row : cases) {
        SCOPED_TRACE(row.decision);
        const TempDir dir;
        const std::string path = dir.file(row.name);
        write_bytes(path, "server=kept\r\n");
        if (row.read_only) {
            ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
        }
        open_answer = row.open_answer;
        folder_answer = row.folder_answer;
        EXPECT_EQ(row.needs_elevation, config_write_needs_elevation(path.c_str(), probes));
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}
