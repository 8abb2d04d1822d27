#include "unit/log_memory_file.h"

#include <algorithm>
#include <cstring>

void MemoryLogFile::write(const std::string& text) {
    if (!at_path_) {
        at_path_ = std::make_shared<std::string>();
    }
    at_path_->append(text);
}

void MemoryLogFile::truncate(std::size_t size) {
    if (at_path_) {
        at_path_->resize(std::min(size, at_path_->size()));
    }
}

void MemoryLogFile::replace(const std::string& text) {
    at_path_ = std::make_shared<std::string>(text);
}

void MemoryLogFile::remove() {
    at_path_.reset();
}

bool MemoryLogFile::open() {
    if (!at_path_) {
        return false;
    }
    open_ = at_path_;
    position_ = 0;
    ++opens;
    return true;
}

std::size_t MemoryLogFile::read(char* buffer, std::size_t capacity) {
    if (!open_ || position_ >= open_->size()) {
        return 0;
    }
    const std::size_t count = std::min({capacity, read_limit, open_->size() - position_});
    std::memcpy(buffer, open_->data() + position_, count);
    position_ += count;
    return count;
}

bool MemoryLogFile::replaced(std::uint64_t position) {
    return !open_ || open_->size() < position || (at_path_ && at_path_ != open_);
}

void MemoryLogFile::close() {
    open_.reset();
}
