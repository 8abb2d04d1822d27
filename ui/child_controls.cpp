#include "ui/child_controls.h"

#include <cstring>

#include "app/loaded_string.h"

HWND create_child_control(HWND parent, HINSTANCE instance, const char* class_name, int id,
                          unsigned text_id, DWORD style, int x, int y, int width, int height,
                          std::size_t text_limit) {
    const LoadedString text(text_id);
    const HWND control = CreateWindowExA(
        0, class_name, text_id != 0 ? text.c_str() : nullptr, style, x, y, width, height, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (text_limit != 0) {
        SendMessageA(control, EM_LIMITTEXT, text_limit, 0);
    }
    return control;
}

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
    PAINTSTRUCT paint = {};
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
}
