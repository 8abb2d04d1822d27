// The configuration as Apply would write it, in a file of its own in the user's temporary
// folder, for an elevated run of the program to read (--write-config FILE): made when
// constructed, removed when destroyed.
#pragma once

#include <cstddef>
#include <string>

#include "config/file_calls.h"

class ConfigRecord;

class TemporaryConfigFile {
public:
    static constexpr std::size_t path_capacity = 512;

    TemporaryConfigFile(const char* install_dir, const ConfigRecord& record,
                        const std::string& folder = user_temporary_folder(),
                        const FileCalls& calls = FileCalls::system);
    ~TemporaryConfigFile();
    TemporaryConfigFile(const TemporaryConfigFile&) = delete;
    TemporaryConfigFile& operator=(const TemporaryConfigFile&) = delete;

    // Its path; empty when it could not be made whole, and then error says why (the system's
    // error code, as the writer gives it).
    const char* path() const { return path_; }
    bool is_made() const { return path_[0] != '\0'; }
    unsigned long error() const { return error_; }

private:
    const FileCalls& calls_;
    char path_[path_capacity] = {};
    unsigned long error_ = 0;
};
