// The log follower's reading logic, free of any window or file system: it reads the log
// through a LogSource, turns lines into rows, sends them to a LogView in batches of at most
// the list's row limit, and counts a warning for each line by which the client reports that it
// quit, but only for lines begun after catch-up.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "log/log_line.h"
#include "log/log_source.h"
#include "log/log_view.h"
#include "log/pending_rows.h"

class LogReader {
public:
    // The most kept of each text of a row; the searches that split a line see all of it.
    static constexpr std::size_t line_limit = 64 * 1024;
    static constexpr std::size_t row_limit = LogBatch::row_limit;
    // Text that may be held back from the list before the oldest of it is shown.
    static constexpr std::size_t pending_budget = 4 * 1024 * 1024;

    enum class Step {
        go_on, // more to do at once
        wait,  // nothing to read: check again in a second
    };

    LogReader(LogSource& source, LogView& view);
    LogReader(const LogReader&) = delete;
    LogReader& operator=(const LogReader&) = delete;

    // One unit of work: an open attempt (with catch-up's look back from the end), one read,
    // or the checks at the end of the file.
    Step step();

    // Set for good at the first end of file: a stop line begun from then on is warned about.
    bool caught_up() const { return caught_up_; }
    // Lines that have reached insertion since catch-up's first row; Clear does not reset it.
    long long running_count() const { return running_count_; }

private:
    bool find_catch_up_start();
    std::size_t consume(const char* bytes, std::size_t size);
    void hold(const char* bytes, std::size_t size);
    void end_partial_line();
    void take_row(const LogRowTexts& texts, bool in_buffer, bool from_catch_up);
    void hold_back_newest_in_buffer();
    void hold_back(const LogRowTexts& texts);
    void show_pending();
    void show_pending_down_to(std::size_t bytes);
    void leave_file();

    LogSource& source_;
    LogView& view_;
    std::unique_ptr<char[]> buffer_; // left uninitialised: a short log never touches most of it
    LogLine partial_{line_limit};    // a line not yet ended by a line feed
    // The partial line began before the first end of file: it was there at start, so it
    // warns of nothing, however late its line end comes.
    bool partial_from_catch_up_ = false;
    bool partial_waited_ = false;
    bool open_ = false;
    bool caught_up_ = false;
    bool leaving_ = false; // the path names another file: the open one is read to its end first
    int warnings_ = 0;     // stop lines read since the last batch
    std::uint64_t position_ = 0; // of the next byte to read
    long long running_count_ = 0;
    PendingRows pending_;
    std::vector<LogRowTexts> in_buffer_; // rows in the buffer being read, not yet copied
};
