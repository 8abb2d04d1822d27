#include "log/log_file.h"

#include <algorithm>

namespace {

constexpr DWORD share_all = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A handle that a check opens and closes itself.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
        }
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

bool same_file(HANDLE left, HANDLE right) {
    BY_HANDLE_FILE_INFORMATION one = {};
    BY_HANDLE_FILE_INFORMATION other = {};
    if (!GetFileInformationByHandle(left, &one) || !GetFileInformationByHandle(right, &other)) {
        return true; // nothing known: keep following what is open
    }
    // The index alone: Wine reports a volume serial of 0 for a file renamed while open, and
    // the log's directory is one volume anyway.
    return one.nFileIndexHigh == other.nFileIndexHigh && one.nFileIndexLow == other.nFileIndexLow;
}

} // namespace

LogFile::LogFile(const char* path) : path_(path != nullptr ? path : "") {}

LogFile::~LogFile() {
    close();
}

bool LogFile::open() {
    close();
    file_ = CreateFileA(path_.c_str(), GENERIC_READ, share_all, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    return file_ != INVALID_HANDLE_VALUE;
}

std::size_t LogFile::read(char* buffer, std::size_t capacity) {
    if (file_ == INVALID_HANDLE_VALUE) {
        return 0;
    }
    DWORD count = 0;
    const auto wanted = static_cast<DWORD>(std::min<std::size_t>(capacity, MAXDWORD));
    if (!ReadFile(file_, buffer, wanted, &count, nullptr)) {
        return 0; // read again at the next check, from the same position
    }
    return count;
}

bool LogFile::replaced(std::uint64_t position) {
    if (file_ == INVALID_HANDLE_VALUE) {
        return true;
    }
    // A file deleted the old way keeps its name until its last handle goes: let go of it,
    // or the client cannot make a new log.
    FILE_STANDARD_INFO standard = {};
    if (GetFileInformationByHandleEx(file_, FileStandardInfo, &standard, sizeof standard) &&
        standard.DeletePending) {
        return true;
    }
    LARGE_INTEGER size = {};
    if (GetFileSizeEx(file_, &size) && static_cast<std::uint64_t>(size.QuadPart) < position) {
        return true;
    }
    // No file at the path (renamed away, none made yet): the open one is still the best.
    const FileHandle at_path(
        CreateFileA(path_.c_str(), 0, share_all, nullptr, OPEN_EXISTING, 0, nullptr));
    return at_path.get() != INVALID_HANDLE_VALUE && !same_file(file_, at_path.get());
}

void LogFile::close() {
    if (file_ != INVALID_HANDLE_VALUE) {
        CloseHandle(file_);
        file_ = INVALID_HANDLE_VALUE;
    }
}
