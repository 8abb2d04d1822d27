// A log file in memory for the reader's tests: what the path names can be appended to,
// truncated, replaced or removed while a reader holds the file it opened.
#pragma once

#include <cstddef>
#include <limits>
#include <memory>
#include <string>

#include "log/log_source.h"

class MemoryLogFile : public LogSource {
public:
    // Appends to the file at the path, making one if there is none.
    void write(const std::string& text);
    void truncate(std::size_t size);
    // The path names a new file; one held open stays as it was, like a renamed log.
    void replace(const std::string& text);
    void remove();

    bool open() override;
    std::size_t read(char* buffer, std::size_t capacity) override;
    bool replaced(std::uint64_t position) override;
    void close() override;

    // Bytes a single read hands over at most, so lines also arrive in pieces.
    std::size_t read_limit = std::numeric_limits<std::size_t>::max();
    int opens = 0;

private:
    std::shared_ptr<std::string> at_path_;
    std::shared_ptr<std::string> open_;
    std::size_t position_ = 0;
};
