// A copy of the client's log that the user keeps: read from the file as it stands, written
// whole beside its target and put in its place in one step, so that a copy cut short by a
// failure never takes the target's place. Run on a thread of its own: a log can be gigabytes.
#pragma once

#include <windows.h>

#include <functional>

#include "config/file_calls.h"

// The copy's outcome: ERROR_SUCCESS; ERROR_HANDLE_EOF when the copy is whole but holds less
// than the log held when it began (the log was emptied meanwhile); else why nothing was saved.
// progress, now and then, says how far it has come, in percent of the log's size at the start.
DWORD copy_log(const char* log_path, const char* target, const std::function<void(int)>& progress,
               const FileCalls& calls = FileCalls::system);

// Whether two paths name the same file (a file a copy would go over and read at once).
bool same_file(const char* path, const char* other);
