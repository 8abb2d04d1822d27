#include "config/file_calls.h"

#include <windows.h>

#include "base/owned_handle.h"
#include "config/temporary_name.h"

const char text_line_end[] = "\r\n";
const unsigned long unexplained_write_error = ERROR_WRITE_FAULT;

namespace {

// Names already taken (a writer in another process, a leftover of one that died) are passed
// over; this many are tried.
constexpr unsigned temporary_attempts = 100;

HANDLE handle_of(FileCalls::File file) {
    return reinterpret_cast<HANDLE>(file);
}

bool read_only_file(const char* path) {
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) == 0) {
        return false;
    }
    SetLastError(ERROR_ACCESS_DENIED);
    return true;
}

FileCalls::File create_temporary_file(const char* folder, char* path, std::size_t capacity) {
    // Different in every process, and from one moment to the next.
    const unsigned first = static_cast<unsigned>(GetCurrentProcessId()) * 2654435761u ^
                           static_cast<unsigned>(GetTickCount());
    for (unsigned attempt = 0; attempt < temporary_attempts; ++attempt) {
        if (!temporary_file_name(folder, first + attempt, path, capacity)) {
            SetLastError(ERROR_FILENAME_EXCED_RANGE);
            return FileCalls::no_file;
        }
        // New, and shared with nobody: no one reads a file that is still being written.
        const HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            return reinterpret_cast<FileCalls::File>(file);
        }
        if (GetLastError() != ERROR_FILE_EXISTS) {
            break;
        }
    }
    path[0] = '\0';
    return FileCalls::no_file;
}

bool write_all(FileCalls::File file, const char* bytes, std::size_t size) {
    while (size > 0) {
        const DWORD chunk = size > MAXDWORD ? MAXDWORD : static_cast<DWORD>(size);
        DWORD written = 0;
        if (WriteFile(handle_of(file), bytes, chunk, &written, nullptr) == FALSE || written == 0) {
            return false;
        }
        bytes += written;
        size -= written;
    }
    return true;
}

bool flush_file(FileCalls::File file) {
    return FlushFileBuffers(handle_of(file)) != FALSE;
}

bool close_file(FileCalls::File file) {
    return CloseHandle(handle_of(file)) != FALSE;
}

long long file_size(const char* path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (GetFileAttributesExA(path, GetFileExInfoStandard, &data) == FALSE) {
        return -1;
    }
    return static_cast<long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

bool replace_file(const char* replacement, const char* target) {
    const DWORD attributes = GetFileAttributesA(target);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return MoveFileExA(replacement, target, MOVEFILE_WRITE_THROUGH) != FALSE;
    }
    // A folder in the file's place is not ours to move aside.
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return false;
    }
    {
        // Some implementations of the replacement first move the target aside under a name
        // of their own, and leave that name behind when the target is held open: make sure
        // the target can be moved before asking for it.
        const OwnedHandle target_file(
            CreateFileA(target, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
            CloseHandle);
        if (!target_file.is_open()) {
            return false;
        }
    }
    if (ReplaceFileA(target, replacement, nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                     nullptr) == FALSE) {
        // The old file is gone but the new one was not renamed: finish the move by hand.
        const DWORD error = GetLastError();
        if (error != ERROR_UNABLE_TO_MOVE_REPLACEMENT ||
            MoveFileExA(replacement, target, MOVEFILE_WRITE_THROUGH) == FALSE) {
            return false;
        }
    }
    // Not every implementation of the replacement carries the attributes over.
    const DWORD settable = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                           FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_OFFLINE |
                           FILE_ATTRIBUTE_TEMPORARY;
    const DWORD kept = attributes & settable;
    SetFileAttributesA(target, kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL);
    return true;
}

bool remove_file(const char* path) {
    return DeleteFileA(path) != FALSE;
}

unsigned long error_of_last_call() {
    return GetLastError();
}

} // namespace

std::string user_temporary_folder() {
    char folder[MAX_PATH + 1];
    const DWORD length = GetTempPathA(sizeof folder, folder);
    return length != 0 && length < sizeof folder ? std::string(folder, length) : std::string();
}

const FileCalls FileCalls::system = {
    read_only_file, create_temporary_file, write_all,   flush_file,         close_file,
    file_size,      replace_file,          remove_file, error_of_last_call,
};
