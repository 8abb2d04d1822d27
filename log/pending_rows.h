// The rows that catch-up has read but not yet shown: only the newest ones can survive the
// row limit, so older ones are dropped unseen. Slots are reused, so a long log costs no
// allocation per line and memory follows what is held, not what was read.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class PendingRows {
public:
    struct Row {
        std::string date_time;
        std::string entry;
        bool stop = false;
    };

    explicit PendingRows(std::size_t capacity);

    // Holds the texts as the newest row; when full, the oldest row is dropped for it.
    void push(std::string_view date_time, std::string_view entry, bool stop);

    bool empty() const { return count_ == 0; }
    std::size_t size() const { return count_; }
    std::size_t bytes() const { return bytes_; } // text held, in bytes
    const Row& oldest() const { return rows_[first_]; }
    void pop_oldest();

private:
    std::vector<Row> rows_;
    std::size_t first_ = 0;
    std::size_t count_ = 0;
    std::size_t bytes_ = 0;
};
