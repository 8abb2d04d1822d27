// Base of every window of the program: one object per window, bound to it at creation,
// receiving all of its messages through one window procedure shared by every class.
#pragma once

#include <windows.h>

#include <string>

class WindowObject {
public:
    // Centres a window of the rectangle's size (in 96-DPI units, brought to the system's DPI)
    // on the desktop; without a rectangle the system places it. The window itself is made by
    // create.
    WindowObject(const char* class_name, const char* title, DWORD style, const RECT* rectangle,
                 HINSTANCE instance);
    virtual ~WindowObject(); // destroys the window if it still exists
    WindowObject(const WindowObject&) = delete;
    WindowObject& operator=(const WindowObject&) = delete;

    // Registers the window class (an existing class of the same name is used as it is) and
    // creates the window with this object as its creation parameter; false, with the system's
    // error code kept for GetLastError, when no window was made.
    bool create();
    bool show();
    HWND handle() const { return window_; }

    virtual LRESULT handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) = 0;

    static LRESULT CALLBACK shared_window_proc(HWND window, UINT message, WPARAM wparam,
                                               LPARAM lparam);
    // Whether a window is one of the program's own, made through this class.
    static bool is_program_window(HWND window);

protected:
    // Places the window at the rectangle as given, in its parent's client coordinates.
    void place_at(const RECT& rectangle);
    // Where the window's size at the DPI lands when centred on the desktop.
    RECT centred_on_desktop(unsigned dpi) const;
    // A top-level window's DPI once it exists; the window is sized for it when it differs from
    // the system's.
    unsigned dpi_after_creation();
    // Moves a top-level window to the rectangle the system suggests for a new DPI.
    void take_dpi_rect(unsigned reported_dpi, const RECT* suggested);
    int width() const { return width_; }
    int height() const { return height_; }

    HINSTANCE instance_;
    DWORD style_;
    DWORD extended_style_ = 0;
    std::string class_name_;
    std::string title_;
    bool has_title_;
    RECT position_;
    int height_ = 0; // as given: 96-DPI units for a top-level window
    int width_ = 0;
    HWND window_ = nullptr;
    HWND parent_ = nullptr;
    UINT_PTR menu_or_id_ = 0;
    HBRUSH background_ = nullptr;
};
