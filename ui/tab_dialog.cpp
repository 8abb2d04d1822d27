#include "ui/tab_dialog.h"

TabDialog::TabDialog(HINSTANCE instance, HWND parent, const RECT* rectangle)
    : WindowObject("TabDialog", nullptr, WS_CHILD, nullptr, instance), page_instance_(instance) {
    extended_style_ = WS_EX_CONTROLPARENT | WS_EX_TRANSPARENT;
    parent_ = parent;
    if (rectangle != nullptr) {
        place_at(*rectangle);
    }
}

bool TabDialog::create() {
    WindowObject::create();
    return true;
}

bool TabDialog::activate() {
    EnableWindow(window_, TRUE);
    const bool was_visible = ShowWindow(window_, SW_SHOW) != FALSE;
    SetActiveWindow(window_);
    return was_visible;
}

bool TabDialog::deactivate() {
    const bool was_visible = ShowWindow(window_, SW_HIDE) != FALSE;
    EnableWindow(window_, FALSE);
    return was_visible;
}
