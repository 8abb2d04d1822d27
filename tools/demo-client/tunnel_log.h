// The client's log file ryxc.log: one line per event, "YYYY/MM/DD HH:MM:SS tunnel: message"
// in local time.
#pragma once

#include <windows.h>

#include <cstddef>

class TunnelLog {
public:
    static constexpr std::size_t line_capacity = 2048;

    explicit TunnelLog(const char* path);

    // Appends one whole line; false when the file could not take it.
    bool write(const char* message) const;

private:
    char path_[MAX_PATH];
};
