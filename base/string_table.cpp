#include "base/string_table.h"

#include <climits>

void StringTable::load(unsigned id, char* buffer, std::size_t capacity) const {
    if (capacity == 0) {
        return;
    }
    buffer[0] = '\0';
    const int limit = capacity > INT_MAX ? INT_MAX : static_cast<int>(capacity);
    LoadStringA(instance_, id, buffer, limit);
}
