#include "log/log_copy.h"

#include <memory>
#include <string>

#include "base/owned_handle.h"
#include "config/temporary_name.h"

namespace {

constexpr DWORD share_all = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Large enough to copy at the disk's own speed; the log's client writes on meanwhile.
constexpr DWORD chunk_size = 1024 * 1024;
constexpr ULONGLONG progress_every_ms = 100;

// What has been written so far, gone again unless it takes the target's place.
class NewCopy {
public:
    NewCopy(const char* target, const FileCalls& calls) : calls_(calls) {
        const std::string folder(target, folder_length(target));
        file_ = calls_.create_temporary(folder.c_str(), path_, sizeof path_);
        error_ = file_ == FileCalls::no_file ? calls_.last_error() : ERROR_SUCCESS;
    }
    ~NewCopy() {
        if (file_ != FileCalls::no_file) {
            calls_.close(file_);
        }
        if (!placed_ && path_[0] != '\0') {
            calls_.remove(path_);
        }
    }
    NewCopy(const NewCopy&) = delete;
    NewCopy& operator=(const NewCopy&) = delete;

    DWORD error() const { return error_; }
    bool write(const char* bytes, std::size_t size) {
        return keep(calls_.write(file_, bytes, size));
    }
    // Closed and moved over the target, as the system's own copies leave a file: not forced
    // to the disk, which would cost as much again as the copy.
    bool place(const char* target) {
        const bool closed = keep(calls_.close(file_));
        file_ = FileCalls::no_file;
        placed_ = closed && keep(calls_.replace(path_, target));
        return placed_;
    }

private:
    bool keep(bool succeeded) {
        if (!succeeded && error_ == ERROR_SUCCESS) {
            error_ = calls_.last_error();
        }
        return succeeded;
    }

    const FileCalls& calls_;
    char path_[MAX_PATH + 32] = {};
    FileCalls::File file_ = FileCalls::no_file;
    DWORD error_ = ERROR_SUCCESS;
    bool placed_ = false;
};

} // namespace

DWORD copy_log(const char* log_path, const char* target, const std::function<void(int)>& progress,
               const FileCalls& calls) {
    // No sequential-scan hint: under Wine it makes large reads several times slower.
    const OwnedHandle<HANDLE> log(
        CreateFileA(log_path, GENERIC_READ, share_all, nullptr, OPEN_EXISTING, 0, nullptr),
        CloseHandle);
    LARGE_INTEGER size = {};
    if (!log.is_open() || !GetFileSizeEx(log.get(), &size)) {
        return GetLastError();
    }
    NewCopy copy(target, calls);
    if (copy.error() != ERROR_SUCCESS) {
        return copy.error();
    }
    const auto buffer = std::make_unique<char[]>(chunk_size);
    ULONGLONG copied = 0;
    ULONGLONG told_at = GetTickCount64();
    // To the end of the file as it is then: what the client adds meanwhile comes along.
    for (DWORD got = 0;; copied += got) {
        if (!ReadFile(log.get(), buffer.get(), chunk_size, &got, nullptr)) {
            return GetLastError();
        }
        if (got == 0) {
            break;
        }
        if (!copy.write(buffer.get(), got)) {
            return copy.error();
        }
        if (GetTickCount64() - told_at >= progress_every_ms && size.QuadPart > 0) {
            told_at = GetTickCount64();
            progress(static_cast<int>(std::min<ULONGLONG>(
                100, (copied + got) * 100 / static_cast<ULONGLONG>(size.QuadPart))));
        }
    }
    if (!copy.place(target)) {
        return copy.error();
    }
    return copied < static_cast<ULONGLONG>(size.QuadPart) ? ERROR_HANDLE_EOF : ERROR_SUCCESS;
}

bool same_file(const char* path, const char* other) {
    const auto identity = [](const char* name, BY_HANDLE_FILE_INFORMATION& info) {
        const OwnedHandle<HANDLE> file(
            CreateFileA(name, 0, share_all, nullptr, OPEN_EXISTING, 0, nullptr), CloseHandle);
        return file.is_open() && GetFileInformationByHandle(file.get(), &info);
    };
    BY_HANDLE_FILE_INFORMATION one = {}, two = {};
    if (identity(path, one) && identity(other, two)) {
        return one.dwVolumeSerialNumber == two.dwVolumeSerialNumber &&
               one.nFileIndexHigh == two.nFileIndexHigh && one.nFileIndexLow == two.nFileIndexLow;
    }
    // Not both there: the same name, as the system would resolve it, is the same file.
    char full[MAX_PATH] = {}, other_full[MAX_PATH] = {};
    return GetFullPathNameA(path, MAX_PATH, full, nullptr) != 0 &&
           GetFullPathNameA(other, MAX_PATH, other_full, nullptr) != 0 &&
           lstrcmpiA(full, other_full) == 0;
}
