// The rules that turn one line of the client's log into the two texts of a row, and the
// line by which the client reports that it stopped the service.
#pragma once

#include <cstddef>

// Where the two texts of a row lie in a line. Both may overlap: the searches are independent.
struct LogLineSplit {
    std::size_t date_time_length; // the Date/Time text is the line's first this many bytes
    std::size_t entry_offset;     // the entry text runs from here to the end of the line
};

// False when the line has no lowercase 't' or no ": " pair: such a line makes no row.
// The Date/Time text is what stands before the first 't', less the character just before
// it (the whole line when the 't' opens it); the entry follows the first ": ".
bool split_log_line(const char* line, std::size_t length, LogLineSplit& split);

// Whether an entry text holds the client's report that it stopped the service.
bool holds_stop_line(const char* entry, std::size_t length);
