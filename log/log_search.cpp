#include "log/log_search.h"

#include <algorithm>

namespace {

unsigned char folded(char c) {
    const auto byte = static_cast<unsigned char>(c);
    const bool ascii_capital = byte >= 'A' && byte <= 'Z';
    // À to Þ, but not the multiplication sign.
    const bool western_capital = byte >= 0xC0 && byte <= 0xDE && byte != 0xD7;
    return ascii_capital || western_capital ? static_cast<unsigned char>(byte + 32) : byte;
}

} // namespace

bool contains_ignoring_case(std::string_view haystack, std::string_view needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(),
                       [](char one, char other) { return folded(one) == folded(other); }) !=
           haystack.end();
}

SearchHit find_row(std::string_view text, int rows, int from, bool backwards,
                   const std::function<std::string_view(int row, int column)>& texts) {
    if (text.empty() || rows <= 0) {
        return {-1, false};
    }
    const int step = backwards ? -1 : 1;
    const int start = from < 0 || from >= rows ? (backwards ? rows : -1) : from;
    for (int looked = 1; looked <= rows; ++looked) {
        const int row = ((start + step * looked) % rows + rows) % rows;
        if (contains_ignoring_case(texts(row, 0), text) ||
            contains_ignoring_case(texts(row, 1), text)) {
            const bool wrapped = backwards ? row >= start : row <= start;
            return {row, wrapped && from >= 0};
        }
    }
    return {-1, false};
}
