#include "log/log_search.h"

#include <algorithm>
#include <functional>

namespace {

unsigned char folded(char c) {
    const auto byte = static_cast<unsigned char>(c);
    const bool ascii_capital = byte >= 'A' && byte <= 'Z';
    // À to Þ, but not the multiplication sign.
    const bool western_capital = byte >= 0xC0 && byte <= 0xDE && byte != 0xD7;
    return ascii_capital || western_capital ? static_cast<unsigned char>(byte + 32) : byte;
}

struct FoldedHash {
    std::size_t operator()(char c) const { return folded(c); }
};
struct FoldedEqual {
    bool operator()(char one, char other) const { return folded(one) == folded(other); }
};

// Skips ahead by the text's length where it can: a long entry is looked through quickly.
using Searcher =
    std::boyer_moore_horspool_searcher<std::string_view::const_iterator, FoldedHash, FoldedEqual>;

bool holds(const Searcher& searcher, std::string_view haystack) {
    return searcher(haystack.begin(), haystack.end()).first != haystack.end();
}

} // namespace

bool contains_ignoring_case(std::string_view haystack, std::string_view needle) {
    return needle.empty() || holds(Searcher(needle.begin(), needle.end()), haystack);
}

SearchHit find_row(std::string_view text, int rows, int from, bool backwards,
                   const std::function<std::string_view(int row, int column)>& texts) {
    if (text.empty() || rows <= 0) {
        return {-1, false};
    }
    const Searcher searcher(text.begin(), text.end());
    const int step = backwards ? -1 : 1;
    const int start = from < 0 || from >= rows ? (backwards ? rows : -1) : from;
    for (int looked = 1; looked <= rows; ++looked) {
        const int row = ((start + step * looked) % rows + rows) % rows;
        if (holds(searcher, texts(row, 0)) || holds(searcher, texts(row, 1))) {
            const bool wrapped = backwards ? row >= start : row <= start;
            return {row, wrapped && from >= 0};
        }
    }
    return {-1, false};
}
