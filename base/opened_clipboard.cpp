#include "base/opened_clipboard.h"

namespace {
// The user waits for the copy: never long.
constexpr int attempts = 5;
constexpr DWORD retry_ms = 20;
} // namespace

OpenedClipboard::OpenedClipboard(HWND owner) {
    for (int attempt = 0; attempt < attempts && !open_; ++attempt) {
        open_ = OpenClipboard(owner) != FALSE;
        if (!open_) {
            Sleep(retry_ms);
        }
    }
}

OpenedClipboard::~OpenedClipboard() {
    if (open_) {
        CloseClipboard();
    }
}
