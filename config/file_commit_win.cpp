#include "config/file_commit.h"

#include <windows.h>

bool is_read_only_file(const char* path) {
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool flush_file_to_disk(const char* path) {
    const HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool flushed = FlushFileBuffers(file) != FALSE;
    return CloseHandle(file) != FALSE && flushed;
}

bool commit_file(const char* replacement, const char* target) {
    const DWORD attributes = GetFileAttributesA(target);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return MoveFileExA(replacement, target, MOVEFILE_WRITE_THROUGH) != FALSE;
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
