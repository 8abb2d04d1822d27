// A window's device context, released on every path.
#pragma once

#include <windows.h>

class WindowDc {
public:
    // Null for the screen's.
    explicit WindowDc(HWND window) : window_(window), context_(GetDC(window)) {}
    ~WindowDc() {
        if (context_ != nullptr) {
            ReleaseDC(window_, context_);
        }
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC get() const { return context_; }

private:
    HWND window_;
    HDC context_;
};
