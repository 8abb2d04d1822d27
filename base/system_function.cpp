#include "base/system_function.h"

#include <cstdio>

HMODULE system_library(const char* file_name) {
    char path[MAX_PATH];
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return nullptr;
    }
    const int written = std::snprintf(path + length, MAX_PATH - length, "\\%s", file_name);
    if (written < 0 || static_cast<UINT>(written) >= MAX_PATH - length) {
        return nullptr;
    }
    return LoadLibraryA(path);
}
