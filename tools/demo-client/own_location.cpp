#include "tools/demo-client/own_location.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

bool own_executable_path(char* path, std::size_t capacity) {
    const DWORD length = GetModuleFileNameA(nullptr, path, static_cast<DWORD>(capacity));
    // A full buffer means the name was cut.
    return length > 0 && length < capacity;
}

bool own_directory(char* directory, std::size_t capacity) {
    if (!own_executable_path(directory, capacity)) {
        return false;
    }
    char* separator = std::strrchr(directory, '\\');
    if (separator == nullptr) {
        return false;
    }
    *separator = '\0';
    return true;
}

bool join_path(char* path, std::size_t capacity, const char* directory, const char* name) {
    const int length = std::snprintf(path, capacity, "%s\\%s", directory, name);
    return length >= 0 && static_cast<std::size_t>(length) < capacity;
}
