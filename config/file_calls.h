// The file operations that the configuration writer makes, gathered in one table so that a
// test can make each of them fail where no real disk would, and see the old file stay.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct FileCalls {
    // A file open for writing: a handle on Windows, a descriptor elsewhere.
    using File = std::intptr_t;
    static constexpr File no_file = -1;

    // True when path names an existing file that is marked read-only; the last error then
    // says access is denied, as opening it for writing would.
    bool (*is_read_only)(const char* path);
    // Creates a new file for writing, shared with nobody, of a name no file in folder (empty,
    // or ending with its separator) has yet, and puts its path into path; no_file when it
    // cannot. Never opens a file that is there already: two writers at once each get their
    // own.
    File (*create_temporary)(const char* folder, char* path, std::size_t capacity);
    // False unless every byte reached the file.
    bool (*write)(File file, const char* bytes, std::size_t size);
    // Forces what was written to the disk.
    bool (*flush)(File file);
    bool (*close)(File file);
    // The size of the file at path; -1 when it cannot be known.
    long long (*size_of)(const char* path);
    // Moves replacement over target in one step; an existing target keeps its attributes and
    // security. On failure target is as it was and replacement still exists.
    bool (*replace)(const char* replacement, const char* target);
    bool (*remove)(const char* path);
    // Why the last call above failed, in the system's own numbers (GetLastError's on
    // Windows, errno's elsewhere).
    unsigned long (*last_error)();

    // The system's own.
    static const FileCalls system;
};

// The user's folder for files of a moment, ending with its separator; empty when none is known.
std::string user_temporary_folder();

// How a line of text ends in this platform's files.
extern const char text_line_end[];
// The reason given for a failure that the system told nothing of: a write that came up short.
extern const unsigned long unexplained_write_error;
