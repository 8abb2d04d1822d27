#include "config/file_calls.h"

#include <windows.h>

#include "base/owned_handle.h"

const char text_line_end[] = "\r\n";

namespace {

HANDLE handle_of(FileCalls::File file) {
    return reinterpret_cast<HANDLE>(file);
}

bool read_only_file(const char* path) {
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

FileCalls::File create_file(const char* path) {
    // Shared with nobody: no one reads a file that is still being written.
    return reinterpret_cast<FileCalls::File>(CreateFileA(
        path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
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

} // namespace

const FileCalls FileCalls::system = {
    read_only_file, create_file, write_all,    flush_file,
    close_file,     file_size,   replace_file, remove_file,
};
