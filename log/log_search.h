// Finding a text among the log's rows, as the Logging page's Find does: in the Date/Time text or
// the entry, letters of either case alike, from the row after (or before) the one given, around
// the end. Free of any window system.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

struct SearchHit {
    int row;      // -1 when no row holds the text
    bool wrapped; // found only past the end (or the start), from the other side
};

// rows: how many there are; texts(row, column) gives a row's Date/Time (0) or entry (1) text.
// from: the row the search starts after (before, backwards); -1 to start at the first (last).
SearchHit find_row(std::string_view text, int rows, int from, bool backwards,
                   const std::function<std::string_view(int row, int column)>& texts);

// Whether haystack holds needle, letters of either case alike (ASCII, and the accented letters
// of the Western code page, whose capitals lie 32 below their small letters).
bool contains_ignoring_case(std::string_view haystack, std::string_view needle);
