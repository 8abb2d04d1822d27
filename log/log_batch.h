// Rows on their way from the log to the list: the newest ones only, since the list keeps no
// more, and how many lines among those read since the last batch told that the client quit.
#pragma once

#include <string>
#include <vector>

struct LogRow {
    std::string date_time;
    std::string entry;
    bool stop = false; // the client's report that it quit: shown apart
};

struct LogBatch {
    // The list keeps this many rows, the oldest going first: 1001, not 1000.
    static constexpr std::size_t row_limit = 1001;

    std::vector<LogRow> rows; // oldest first, at most row_limit
    int warnings = 0;         // stop lines read, whether or not their rows are still here

    // The newer batch's rows after these (the oldest dropped beyond the limit), and its
    // warnings too.
    void append(LogBatch&& newer);
    bool empty() const { return rows.empty() && warnings == 0; }
};
