#include "ui/child_controls.h"

#include <cstring>

#include "base/painting.h"

void show_check(HWND box, bool checked, std::initializer_list<HWND> dependents, bool enabled) {
    SendMessageA(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    for (const HWND dependent : dependents) {
        EnableWindow(dependent, enabled ? TRUE : FALSE);
    }
}

void read_edit(HWND edit, char* buffer, std::size_t capacity, std::size_t max_characters) {
    std::memset(buffer, 0, capacity);
    const std::size_t room = max_characters + 1 < capacity ? max_characters + 1 : capacity;
    SendMessageA(edit, WM_GETTEXT, room, reinterpret_cast<LPARAM>(buffer));
}

void paint_nothing(HWND window) {
    const Painting painting(window);
}

void redraw_whole(HWND window) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

int default_button(HWND window, int fallback) {
    const HWND focus = GetFocus();
    if (focus != nullptr && IsChild(window, focus) &&
        (SendMessageA(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) !=
            0) {
        return GetDlgCtrlID(focus);
    }
    return fallback;
}

LRESULT default_button_answer(int id) {
    return id != 0 ? MAKELRESULT(id, DC_HASDEFID) : 0;
}

void move_dialog_focus(HWND window, WPARAM which, LPARAM is_control) {
    const HWND next = LOWORD(is_control) != 0
                          ? reinterpret_cast<HWND>(which)
                          : GetNextDlgTabItem(window, GetFocus(), which != 0 ? TRUE : FALSE);
    if (next == nullptr) {
        return;
    }
    SetFocus(next);
    if ((SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0) {
        SendMessageA(next, EM_SETSEL, 0, -1);
    }
}
