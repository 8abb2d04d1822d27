// The rules that turn one line of the client's log into the two texts of a row, for a line
// whole in memory and for one that arrives in pieces, and the line by which the client reports
// that it stopped the service.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// A row's two texts as they are kept. They may overlap in the line: the searches are
// independent.
struct LogRowTexts {
    std::string_view date_time;
    std::string_view entry;
};

// False when the line has no lowercase 't' or no ": " pair: such a line makes no row.
// The Date/Time text is what stands before the first 't', less the character just before
// it (the whole line when the 't' opens it); the entry follows the first ": ". Both searches
// run over the whole line, however long; only the texts kept are cut (see kept_text).
bool split_log_line(const char* line, std::size_t length, std::size_t limit, LogRowTexts& texts);

// A text as it is kept: without the NUL bytes it opens with, which are a zero-filled stretch
// left by a power loss and which the list, showing C strings, would show as nothing; then at
// most limit bytes.
std::string_view kept_text(const char* text, std::size_t length, std::size_t limit);

// Whether an entry text holds the client's report that it stopped the service.
bool holds_stop_line(std::string_view entry);

// A line that comes in pieces, of any length: it keeps only what its row shows (at most the
// limit of each text) and what the searches have found, and splits as the whole line would.
class LogLine {
public:
    explicit LogLine(std::size_t limit) : limit_(limit) {}

    void append(const char* bytes, std::size_t size);
    bool empty() const { return length_ == 0; }
    // The line has ended: a carriage return last is its line end's first half. False when it
    // makes no row; the texts hold until the next append or clear.
    bool end(LogRowTexts& texts);
    void clear();

private:
    void keep(std::string& text, bool& cut, const char* bytes, std::size_t size);

    std::size_t limit_;
    std::uint64_t length_ = 0; // bytes appended
    char last_ = '\0';         // the last of them
    bool t_seen_ = false;
    bool t_opens_ = false;    // the Date/Time text is then the whole line
    bool colon_seen_ = false; // the entry text has begun
    bool date_time_done_ = false;
    std::string date_time_;
    std::string entry_;
    bool date_time_cut_ = false; // bytes were left out past the limit
    bool entry_cut_ = false;
};
