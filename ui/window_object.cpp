#include "ui/window_object.h"

#include "res/resource.h"
#include "ui/dpi_scale.h"
#include "ui/window_dpi.h"

namespace {

// Where a window of the given size lands when centred on a desktop of the given size. Each half
// truncates on its own, so an odd overhang loses a pixel, as the system would.
RECT centred(LONG width, LONG height, LONG desktop_width, LONG desktop_height) {
    return RECT{(desktop_width - width) / 2, (desktop_height - height) / 2,
                (desktop_width + width) / 2, (desktop_height + height) / 2};
}

} // namespace

WindowObject::WindowObject(const char* class_name, const char* title, DWORD style,
                           const RECT* rectangle, HINSTANCE instance)
    : instance_(instance), style_(style), class_name_(class_name != nullptr ? class_name : ""),
      title_(title != nullptr ? title : ""), has_title_(title != nullptr), position_{} {
    if (rectangle == nullptr) {
        position_.left = CW_USEDEFAULT;
        return;
    }
    width_ = rectangle->right - rectangle->left;
    height_ = rectangle->bottom - rectangle->top;
    position_ = centred_on_desktop(window_dpi(nullptr));
}

WindowObject::~WindowObject() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
        window_ = nullptr;
    }
}

RECT WindowObject::centred_on_desktop(unsigned dpi) const {
    RECT desktop = {};
    GetWindowRect(GetDesktopWindow(), &desktop);
    return centred(scale_to_dpi(width_, dpi), scale_to_dpi(height_, dpi),
                   desktop.right - desktop.left, desktop.bottom - desktop.top);
}

unsigned WindowObject::dpi_after_creation() {
    // A monitor of its own can show the new window at another DPI than the system's.
    const unsigned dpi = window_dpi(window_);
    if (dpi != window_dpi(nullptr)) {
        position_ = centred_on_desktop(dpi);
        SetWindowPos(window_, nullptr, position_.left, position_.top,
                     position_.right - position_.left, position_.bottom - position_.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return dpi;
}

void WindowObject::take_dpi_rect(unsigned reported_dpi, const RECT* suggested) {
    // The system's suggestion fits the DPI it reported; a DPI out of range gets our own size.
    RECT place = suggested != nullptr ? *suggested : RECT{};
    if (suggested == nullptr || sane_dpi(reported_dpi) != reported_dpi) {
        GetWindowRect(window_, &place);
        const unsigned dpi = sane_dpi(reported_dpi);
        place.right = place.left + scale_to_dpi(width_, dpi);
        place.bottom = place.top + scale_to_dpi(height_, dpi);
    }
    SetWindowPos(window_, nullptr, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowObject::place_at(const RECT& rectangle) {
    position_ = rectangle;
    width_ = rectangle.right - rectangle.left;
    height_ = rectangle.bottom - rectangle.top;
}

bool WindowObject::create() {
    const HICON icon = LoadIconA(instance_, MAKEINTRESOURCEA(IDI_APP));
    WNDCLASSEXA window_class = {};
    window_class.cbSize = sizeof window_class;
    window_class.style = 0;
    window_class.lpfnWndProc = shared_window_proc;
    window_class.hInstance = instance_;
    window_class.hIcon = icon;
    window_class.hIconSm = icon;
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground =
        background_ != nullptr ? background_ : reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = class_name_.c_str();
    RegisterClassExA(&window_class);

    window_ =
        CreateWindowExA(extended_style_, class_name_.c_str(), has_title_ ? title_.c_str() : nullptr,
                        style_, position_.left, position_.top, position_.right - position_.left,
                        position_.bottom - position_.top, parent_,
                        reinterpret_cast<HMENU>(menu_or_id_), instance_, this);
    return window_ != nullptr;
}

bool WindowObject::show() {
    if (window_ == nullptr) {
        return false;
    }
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    return true;
}

LRESULT CALLBACK WindowObject::shared_window_proc(HWND window, UINT message, WPARAM wparam,
                                                  LPARAM lparam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lparam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* object = reinterpret_cast<WindowObject*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (object == nullptr) {
        return DefWindowProcA(window, message, wparam, lparam);
    }
    const LRESULT result = object->handle_message(window, message, wparam, lparam);
    if (message == WM_NCDESTROY) {
        // The window is gone: no later message may reach the object through it.
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        object->window_ = nullptr;
    }
    return result;
}

bool WindowObject::is_program_window(HWND window) {
    return window != nullptr &&
           reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)) == shared_window_proc;
}
