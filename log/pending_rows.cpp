#include "log/pending_rows.h"

namespace {

// A slot that once held a very long text gives its memory back rather than keep it for the
// short ones that follow.
constexpr std::size_t kept_capacity = 4096;

void assign_text(std::string& slot, std::string_view text) {
    if (slot.capacity() > kept_capacity && slot.capacity() > 2 * text.size()) {
        std::string().swap(slot);
    }
    slot.assign(text.data(), text.size());
}

void let_go(std::string& slot) {
    if (slot.capacity() > kept_capacity) {
        std::string().swap(slot);
    }
}

} // namespace

PendingRows::PendingRows(std::size_t capacity) : rows_(capacity) {}

void PendingRows::push(std::string_view date_time, std::string_view entry, bool stop) {
    if (rows_.empty()) {
        return;
    }
    if (count_ == rows_.size()) {
        pop_oldest();
    }
    Row& row = rows_[(first_ + count_) % rows_.size()];
    assign_text(row.date_time, date_time);
    assign_text(row.entry, entry);
    row.stop = stop;
    bytes_ += date_time.size() + entry.size();
    ++count_;
}

void PendingRows::pop_oldest() {
    if (count_ == 0) {
        return;
    }
    Row& row = rows_[first_];
    bytes_ -= row.date_time.size() + row.entry.size();
    let_go(row.date_time);
    let_go(row.entry);
    first_ = (first_ + 1) % rows_.size();
    --count_;
}
