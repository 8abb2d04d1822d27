// A function of a system DLL looked up when first needed: for functions that older Windows
// lack, and for DLLs that start-up should not pay to load.
#pragma once

#include <windows.h>

// The DLL from the system folder (never from beside the program), kept loaded; null when it
// cannot be loaded.
HMODULE system_library(const char* file_name);

// The function, or null when this Windows has none.
template <typename Function>
Function system_function(const char* file_name, const char* function_name) {
    const HMODULE library = system_library(file_name);
    return library == nullptr ? nullptr
                              : reinterpret_cast<Function>(reinterpret_cast<void*>(
                                    GetProcAddress(library, function_name)));
}
