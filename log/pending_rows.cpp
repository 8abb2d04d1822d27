#include "log/pending_rows.h"

namespace {

// A slot that once held a very long line gives its memory back rather than keep it for
// the short lines that follow.
constexpr std::size_t kept_capacity = 4096;

void assign_line(std::string& slot, const char* line, std::size_t length) {
    if (slot.capacity() > kept_capacity && slot.capacity() > 2 * length) {
        std::string().swap(slot);
    }
    slot.assign(line, length);
}

} // namespace

PendingRows::PendingRows(std::size_t capacity) : rows_(capacity) {}

void PendingRows::push(const char* line, std::size_t length, const LogLineSplit& split) {
    if (rows_.empty()) {
        return;
    }
    if (count_ == rows_.size()) {
        pop_oldest();
    }
    Row& row = rows_[(first_ + count_) % rows_.size()];
    assign_line(row.line, line, length);
    row.split = split;
    bytes_ += length;
    ++count_;
}

void PendingRows::pop_oldest() {
    if (count_ == 0) {
        return;
    }
    Row& row = rows_[first_];
    bytes_ -= row.line.size();
    if (row.line.capacity() > kept_capacity) {
        std::string().swap(row.line);
    }
    first_ = (first_ + 1) % rows_.size();
    --count_;
}
