// Names for the files the program makes for a moment beside others: the writer's new
// configuration before it takes the old one's place, the probe of a folder's rights, the
// configuration handed to an elevated run.
#pragma once

#include <cstddef>

// folder (empty, or ending with its separator) + "ryx" + number in eight hexadecimal digits +
// ".tmp"; false, with path empty, when that does not fit capacity. Short, so that a folder
// that leaves room for "ryxc.conf.default" leaves room for it too.
bool temporary_file_name(const char* folder, unsigned number, char* path, std::size_t capacity);

// The folder of path with its separator ("\" or "/"); empty when path names none.
std::size_t folder_length(const char* path);
