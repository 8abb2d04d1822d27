#include "config/temporary_name.h"

#include <cstdio>

bool temporary_file_name(const char* folder, unsigned number, char* path, std::size_t capacity) {
    if (capacity == 0) {
        return false;
    }
    const int length = std::snprintf(path, capacity, "%sryx%08X.tmp", folder, number);
    if (length < 0 || static_cast<std::size_t>(length) >= capacity) {
        path[0] = '\0';
        return false;
    }
    return true;
}

std::size_t folder_length(const char* path) {
    std::size_t length = 0;
    for (std::size_t at = 0; path[at] != '\0'; ++at) {
        if (path[at] == '\\' || path[at] == '/') {
            length = at + 1;
        }
    }
    return length;
}
