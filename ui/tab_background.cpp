#include "ui/tab_background.h"

#include "base/selected_object.h"
#include "base/window_dc.h"

void TabBackground::reset() {
    brush_.reset();
    bitmap_.reset();
}

HBRUSH TabBackground::brush_for(HWND control, HWND tab_control, HDC context) {
    if (!brush_.is_open()) {
        // Tab bodies shade from top to bottom if at all: one column of the body, taken from the
        // middle of the control, stands for all of it, and is quick to paint.
        RECT area = {};
        GetClientRect(tab_control, &area);
        const WindowDc screen(tab_control);
        const OwnedHandle<HDC> memory(CreateCompatibleDC(screen.get()), DeleteDC);
        bitmap_.reset(CreateCompatibleBitmap(screen.get(), 1, area.bottom));
        {
            const SelectedObject selected(memory.get(), bitmap_.get());
            SetViewportOrgEx(memory.get(), -area.right / 2, 0, nullptr);
            SendMessageA(tab_control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()),
                         PRF_CLIENT);
            colour_ = GetPixel(memory.get(), area.right / 2, area.bottom / 2);
        }
        brush_.reset(CreatePatternBrush(bitmap_.get()));
    }
    POINT origin = {0, 0};
    MapWindowPoints(control, tab_control, &origin, 1);
    SetBrushOrgEx(context, 0, -origin.y, nullptr);
    return brush_.get();
}
