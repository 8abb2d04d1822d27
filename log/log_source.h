// The log file as the log reader sees it: a file opened by path, read at any offset, and
// checked against whatever the path names now. The program implements it on a Windows file
// handle.
#pragma once

#include <cstddef>
#include <cstdint>

class LogSource {
public:
    virtual ~LogSource() = default;

    // Opens the file the path names now; false while there is none.
    virtual bool open() = 0;
    // The open file's size in bytes now; 0 when it cannot be told.
    virtual std::uint64_t size() = 0;
    // Up to capacity bytes from offset; 0 at or past the end of the file.
    virtual std::size_t read(std::uint64_t offset, char* buffer, std::size_t capacity) = 0;
    // True when the open file is no longer the log: it is shorter than position (truncated),
    // the path names another file, or the open file is on its way out and holds the name.
    virtual bool replaced(std::uint64_t position) = 0;
    virtual void close() = 0;
};
