// One WM_PAINT's painting: begun when made, ended on every path.
#pragma once

#include <windows.h>

class Painting {
public:
    explicit Painting(HWND window) : window_(window), context_(BeginPaint(window, &paint_)) {}
    ~Painting() { EndPaint(window_, &paint_); }
    Painting(const Painting&) = delete;
    Painting& operator=(const Painting&) = delete;

    HDC context() const { return context_; }

private:
    HWND window_;
    PAINTSTRUCT paint_ = {};
    HDC context_;
};
