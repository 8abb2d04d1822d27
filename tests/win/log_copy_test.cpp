// Saving a copy of the log where it can go wrong: the log emptied while it is read, a disk
// that fills, a target Windows refuses, a name too long, the log itself as the target. The
// target is then what it was, and no file of the copy's stays behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "log/log_copy.h"
#include "support/temp_dir.h"

namespace {

constexpr DWORD any_failure = ~0ul; // the system's own reason, whichever it gives

bool disk_full = false;
std::string empty_at_first_write; // the log, emptied under the reader once it has read a piece

const FileCalls faulty = {
    FileCalls::system.is_read_only,
    FileCalls::system.create_temporary,
    [](FileCalls::File file, const char* bytes, std::size_t size) {
        if (!empty_at_first_write.empty()) {
            write_bytes(empty_at_first_write, "");
            empty_at_first_write.clear();
        }
        if (disk_full) {
            SetLastError(ERROR_DISK_FULL);
            return false;
        }
        return FileCalls::system.write(file, bytes, size);
    },
    FileCalls::system.flush,
    FileCalls::system.close,
    FileCalls::system.size_of,
    FileCalls::system.replace,
    FileCalls::system.remove,
    FileCalls::system.last_error,
};

std::vector<std::string> files_in(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found = {};
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            names.emplace_back(found.cFileName);
        }
    }
    if (search != INVALID_HANDLE_VALUE) {
        FindClose(search);
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(LogCopy, IsWholeOrLeavesTheTargetAsItWas) {
    const TempDir folder;
    const std::string log = folder.file("ryxc.log"), target = folder.file("kept.log");
    // Three of the copy's pieces and some: it reads more than once.
    std::string content;
    for (int line = 0; content.size() < 3u << 20; ++line) {
        content += "2024/05/17 12:00:00 line " + std::to_string(line) + "\r\n";
    }
    const std::string too_long = folder.path() + "\\" + std::string(300, 'n') + ".log";
    const std::string kept = "what the user kept before";
    const struct {
        const char* name;
        const std::string& target;
        bool read_only, full, emptied;
        DWORD outcome;
        std::string copied; // what the target holds afterwards
    } cases[] = {
        {"whole", target, false, false, false, ERROR_SUCCESS, content},
        // What was read, and told that it is less than the log held.
        {"log emptied", target, false, false, true, ERROR_HANDLE_EOF, content.substr(0, 1 << 20)},
        {"disk full", target, false, true, false, ERROR_DISK_FULL, kept},
        {"read-only target", target, true, false, false, ERROR_ACCESS_DENIED, kept},
        {"name too long", too_long, false, false, false, any_failure, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        write_bytes(log, content);
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        write_bytes(target, kept);
        SetFileAttributesA(target.c_str(), c.read_only ? FILE_ATTRIBUTE_READONLY : 0);
        disk_full = c.full;
        empty_at_first_write = c.emptied ? log : "";
        const DWORD outcome = copy_log(
            log.c_str(), c.target.c_str(), [](int) {}, faulty);
        if (c.outcome == any_failure) {
            EXPECT_NE(static_cast<DWORD>(ERROR_SUCCESS), outcome);
        } else {
            EXPECT_EQ(c.outcome, outcome);
        }
        EXPECT_TRUE(read_bytes(c.target) == c.copied);
        EXPECT_EQ((std::vector<std::string>{"kept.log", "ryxc.log"}), files_in(folder.path()));
    }
    disk_full = false;
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(LogCopy, KnowsTheLogUnderAnyOfItsNames) {
    const TempDir folder;
    const std::string log = folder.file("ryxc.log"), other = folder.file("other.log");
    write_bytes(log, "a line\r\n");
    write_bytes(other, "a line\r\n");
    EXPECT_TRUE(same_file(log.c_str(), log.c_str()));
    EXPECT_TRUE(same_file((folder.path() + "\\.\\RYXC.LOG").c_str(), log.c_str()));
    EXPECT_FALSE(same_file(other.c_str(), log.c_str()));
    EXPECT_FALSE(same_file(folder.file("not there.log").c_str(), log.c_str()));
}
