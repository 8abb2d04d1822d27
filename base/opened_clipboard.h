// The clipboard opened for one scope, with a few quick retries: another program may hold it
// for a moment. Closed on every path.
#pragma once

#include <windows.h>

class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner);
    ~OpenedClipboard();
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;

    // False when it stayed held elsewhere.
    bool is_open() const { return open_; }

private:
    bool open_ = false;
};
