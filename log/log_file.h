// The client's log file held open for reading without getting in the client's way: shared
// for reading, writing and deletion, so the client may go on writing, rename, rotate or
// delete it while the program follows it.
#pragma once

#include <windows.h>

#include <string>

#include "base/owned_handle.h"
#include "log/log_source.h"

class LogFile : public LogSource {
public:
    explicit LogFile(const char* path);
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    bool open() override;
    std::uint64_t size() override;
    std::size_t read(std::uint64_t offset, char* buffer, std::size_t capacity) override;
    bool replaced(std::uint64_t position) override;
    void close() override;

private:
    std::string path_;
    OwnedHandle<HANDLE> file_{INVALID_HANDLE_VALUE, CloseHandle};
};
