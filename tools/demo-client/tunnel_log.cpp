#include "tools/demo-client/tunnel_log.h"

#include <cstdio>

#include "base/bounded_text.h"

namespace {

// A log file opened for one line, closed on every way out.
class AppendFile {
public:
    explicit AppendFile(const char* path)
        // Every kind of sharing, so that a viewer can follow the file and a user can rotate or
        // delete it while the client runs.
        : file_(CreateFileA(path, FILE_APPEND_DATA,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~AppendFile() {
        if (file_ != INVALID_HANDLE_VALUE) {
            CloseHandle(file_);
        }
    }
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    // One WriteFile per line, so that a reader never sees half of one.
    bool append(const char* bytes, DWORD size) const {
        DWORD written = 0;
        return file_ != INVALID_HANDLE_VALUE &&
               WriteFile(file_, bytes, size, &written, nullptr) != FALSE && written == size &&
               FlushFileBuffers(file_) != FALSE;
    }

private:
    HANDLE file_;
};

} // namespace

TunnelLog::TunnelLog(const char* path) {
    copy_text(path_, sizeof path_, path);
}

bool TunnelLog::write(const char* message) const {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char line[line_capacity];
    int length =
        std::snprintf(line, sizeof line, "%04u/%02u/%02u %02u:%02u:%02u tunnel: %s\r\n", now.wYear,
                      now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, message);
    if (length < 0) {
        return false;
    }
    if (static_cast<std::size_t>(length) >= sizeof line) {
        // A very long message is cut, but the line still ends as a line.
        length = static_cast<int>(sizeof line - 1);
        line[length - 2] = '\r';
        line[length - 1] = '\n';
    }
    const AppendFile file(path_);
    return file.append(line, static_cast<DWORD>(length));
}
