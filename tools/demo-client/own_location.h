// Where the running program lives: the stand-in client keeps its files beside its own exe,
// as the real client does in its install directory.
#pragma once

#include <cstddef>

// The full path of the running exe; false when it does not fit.
bool own_executable_path(char* path, std::size_t capacity);

// The directory that holds the running exe, without a trailing separator.
bool own_directory(char* directory, std::size_t capacity);

// directory + "\" + name; false when the result does not fit.
bool join_path(char* path, std::size_t capacity, const char* directory, const char* name);
