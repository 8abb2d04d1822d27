#include "config/write_access.h"

#include <windows.h>

#include <string>

#include "base/owned_handle.h"
#include "config/temporary_name.h"

namespace {

unsigned long open_existing_file(const char* path) {
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
        (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return ERROR_ACCESS_DENIED;
    }
    const OwnedHandle file(CreateFileA(path, GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
                           CloseHandle);
    return file.is_open() ? ERROR_SUCCESS : GetLastError();
}

unsigned long create_probe_file(const char* folder) {
    // One try: a name taken by chance only makes the answer "no matter of rights".
    const unsigned number = static_cast<unsigned>(GetCurrentProcessId()) * 2654435761u ^
                            static_cast<unsigned>(GetTickCount());
    char path[512];
    if (!temporary_file_name(folder, number, path, sizeof path)) {
        return ERROR_FILENAME_EXCED_RANGE;
    }
    // Deleted by the system as it is closed, even if this process dies first.
    const OwnedHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                                       nullptr),
                           CloseHandle);
    return file.is_open() ? ERROR_SUCCESS : GetLastError();
}

} // namespace

const WriteProbeCalls WriteProbeCalls::system = {open_existing_file, create_probe_file};

bool config_write_needs_elevation(const char* config_path, const WriteProbeCalls& calls) {
    if (calls.open_existing(config_path) == ERROR_ACCESS_DENIED) {
        return true;
    }
    // A missing file is made there; an existing one is replaced by a new file made there.
    const std::string folder(config_path, folder_length(config_path));
    return calls.create_in(folder.c_str()) == ERROR_ACCESS_DENIED;
}
