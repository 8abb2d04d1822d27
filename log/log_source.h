// The log file as the log reader sees it: a file opened by path, read forward, and checked
// against whatever the path names now. The program implements it on a Windows file handle.
#pragma once

#include <cstddef>
#include <cstdint>

class LogSource {
public:
    virtual ~LogSource() = default;

    // Opens the file the path names now, at its start; false while there is none.
    virtual bool open() = 0;
    // Up to capacity bytes from the current position; 0 at the end of the file.
    virtual std::size_t read(char* buffer, std::size_t capacity) = 0;
    // True when the open file is no longer the log: it is shorter than position (truncated),
    // the path names another file, or the open file is on its way out and holds the name.
    virtual bool replaced(std::uint64_t position) = 0;
    virtual void close() = 0;
};
