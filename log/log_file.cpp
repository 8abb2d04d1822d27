#include "log/log_file.h"

#include <algorithm>

#include "base/owned_handle.h"

namespace {

constexpr DWORD share_all = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The index alone: Wine reports a volume serial of 0 for a file renamed while open, and the
// log's directory is one volume anyway.
bool same_index(const BY_HANDLE_FILE_INFORMATION& one, const BY_HANDLE_FILE_INFORMATION& other) {
    return one.nFileIndexHigh == other.nFileIndexHigh && one.nFileIndexLow == other.nFileIndexLow;
}

} // namespace

LogFile::LogFile(const char* path) : path_(path != nullptr ? path : "") {}

bool LogFile::open() {
    file_.reset(CreateFileA(path_.c_str(), GENERIC_READ, share_all, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    return file_.is_open();
}

std::uint64_t LogFile::size() {
    LARGE_INTEGER bytes = {};
    if (!file_.is_open() || !GetFileSizeEx(file_.get(), &bytes)) {
        return 0;
    }
    return static_cast<std::uint64_t>(bytes.QuadPart);
}

std::size_t LogFile::read(std::uint64_t offset, char* buffer, std::size_t capacity) {
    if (!file_.is_open()) {
        return 0;
    }
    // The handle is not opened for overlapped reads: the record only carries a 64-bit offset
    // and the read completes before it returns.
    OVERLAPPED at = {};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD count = 0;
    const auto wanted = static_cast<DWORD>(std::min<std::size_t>(capacity, MAXDWORD));
    if (!ReadFile(file_.get(), buffer, wanted, &count, &at)) {
        return 0; // the end of the file, or read again at the next check
    }
    return count;
}

bool LogFile::replaced(std::uint64_t position) {
    if (!file_.is_open()) {
        return true;
    }
    // A file deleted the old way keeps its name until its last handle goes: let go of it,
    // or the client cannot make a new log.
    FILE_STANDARD_INFO standard = {};
    if (GetFileInformationByHandleEx(file_.get(), FileStandardInfo, &standard, sizeof standard) &&
        standard.DeletePending) {
        return true;
    }
    BY_HANDLE_FILE_INFORMATION held = {};
    if (!GetFileInformationByHandle(file_.get(), &held)) {
        return false; // nothing known: keep following what is open
    }
    if ((static_cast<std::uint64_t>(held.nFileSizeHigh) << 32 | held.nFileSizeLow) < position) {
        return true;
    }
    // No file at the path (renamed away, none made yet): the open one is still the best. One
    // with the held file's size and write time is the held file; this look needs no handle,
    // which matters once a second. Anything else is opened and compared.
    WIN32_FILE_ATTRIBUTE_DATA at_path = {};
    if (!GetFileAttributesExA(path_.c_str(), GetFileExInfoStandard, &at_path)) {
        return false;
    }
    if (at_path.nFileSizeHigh == held.nFileSizeHigh && at_path.nFileSizeLow == held.nFileSizeLow &&
        CompareFileTime(&at_path.ftLastWriteTime, &held.ftLastWriteTime) == 0) {
        return false;
    }
    const OwnedHandle other(
        CreateFileA(path_.c_str(), 0, share_all, nullptr, OPEN_EXISTING, 0, nullptr), CloseHandle);
    BY_HANDLE_FILE_INFORMATION found = {};
    return other.is_open() && GetFileInformationByHandle(other.get(), &found) &&
           !same_index(held, found);
}

void LogFile::close() {
    file_.reset();
}
