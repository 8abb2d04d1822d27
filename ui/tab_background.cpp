#include "ui/tab_background.h"

TabBackground::~TabBackground() {
    reset();
}

void TabBackground::reset() {
    if (brush_ != nullptr) {
        DeleteObject(brush_);
        brush_ = nullptr;
    }
    if (bitmap_ != nullptr) {
        DeleteObject(bitmap_);
        bitmap_ = nullptr;
    }
}

HBRUSH TabBackground::brush_for(HWND control, HWND tab_control, HDC context) {
    if (brush_ == nullptr) {
        // Tab bodies shade from top to bottom if at all: one column of the body, taken from the
        // middle of the control, stands for all of it, and is quick to paint.
        RECT area = {};
        GetClientRect(tab_control, &area);
        const HDC screen = GetDC(tab_control);
        const HDC memory = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, 1, area.bottom);
        const HGDIOBJ previous = SelectObject(memory, bitmap_);
        SetViewportOrgEx(memory, -area.right / 2, 0, nullptr);
        SendMessageA(tab_control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
        SelectObject(memory, previous);
        DeleteDC(memory);
        ReleaseDC(tab_control, screen);
        brush_ = CreatePatternBrush(bitmap_);
    }
    POINT origin = {0, 0};
    MapWindowPoints(control, tab_control, &origin, 1);
    SetBrushOrgEx(context, 0, -origin.y, nullptr);
    return brush_;
}
