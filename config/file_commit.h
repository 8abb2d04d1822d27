// Puts a completely written file in the place of another in one step, so that a reader
// only ever sees the old file or the new one, never a part of either.
#pragma once

// True when path names an existing file that is marked read-only.
bool is_read_only_file(const char* path);

// Forces the file's contents to the disk.
bool flush_file_to_disk(const char* path);

// Moves replacement over target; an existing target keeps its attributes and security.
// On failure target is as it was and replacement still exists.
bool commit_file(const char* replacement, const char* target);
