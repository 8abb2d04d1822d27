// The system's message font at one DPI, owned by a top-level window for itself and its
// controls.
#pragma once

#include <windows.h>

class WindowFont {
public:
    WindowFont() = default;
    // The default GUI font when the system's message font cannot be had.
    explicit WindowFont(unsigned dpi);
    ~WindowFont();
    WindowFont(WindowFont&& other) noexcept;
    WindowFont& operator=(WindowFont&& other) noexcept;
    WindowFont(const WindowFont&) = delete;
    WindowFont& operator=(const WindowFont&) = delete;

    HFONT get() const { return font_; }

private:
    void release();

    HFONT font_ = nullptr;
    bool owned_ = false; // the stock font is never deleted
};
