#include "log/log_list_actions.h"

#include <commctrl.h>
#include <cstring>
#include <shellapi.h>
#include <string>
#include <vector>

#include "base/background_task.h"
#include "base/com_apartment.h"
#include "base/loaded_string.h"
#include "base/opened_clipboard.h"
#include "base/owned_handle.h"
#include "base/system_function.h"
#include "res/resource.h"

namespace {

// A row's cell as the list shows it: up to its first NUL, if the log held one.
std::size_t shown_length(const std::string& text) {
    return std::strlen(text.c_str());
}

// The rows' text, written straight into a movable block for the clipboard, which owns it once
// SetClipboardData has taken it.
HGLOBAL text_block(const std::vector<LogList::SharedRow>& rows) {
    std::size_t size = 1;
    for (const LogList::SharedRow& row : rows) {
        size += shown_length(row->date_time) + shown_length(row->entry) + 3;
    }
    const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    auto* at = block != nullptr ? static_cast<char*>(GlobalLock(block)) : nullptr;
    if (at == nullptr) {
        GlobalFree(block);
        return nullptr;
    }
    for (const LogList::SharedRow& row : rows) {
        const std::size_t date_time = shown_length(row->date_time);
        const std::size_t entry = shown_length(row->entry);
        std::memcpy(at, row->date_time.data(), date_time);
        at += date_time;
        *at++ = '\t';
        std::memcpy(at, row->entry.data(), entry);
        at += entry;
        *at++ = '\r';
        *at++ = '\n';
    }
    *at = '\0';
    GlobalUnlock(block);
    return block;
}

// The text in the ANSI format only, marked with the locale of the ANSI code page, so that the
// system makes the Unicode text from it as written instead of holding it a second time.
void put_on_clipboard(HWND owner, HGLOBAL text) {
    const OpenedClipboard clipboard(owner);
    if (!clipboard.is_open()) {
        GlobalFree(text);
        return; // held elsewhere: nothing copied, and nothing to tell
    }
    EmptyClipboard();
    if (SetClipboardData(CF_TEXT, text) == nullptr) {
        GlobalFree(text);
        return;
    }
    const LCID locale = GetSystemDefaultLCID();
    const HGLOBAL locale_block = GlobalAlloc(GMEM_MOVEABLE, sizeof locale);
    void* const at = locale_block != nullptr ? GlobalLock(locale_block) : nullptr;
    if (at != nullptr) {
        std::memcpy(at, &locale, sizeof locale);
        GlobalUnlock(locale_block);
    }
    if (at == nullptr || SetClipboardData(CF_LOCALE, locale_block) == nullptr) {
        GlobalFree(locale_block);
    }
}

// The shell's default action on the file, as a double click in Explorer, which opens it in the
// system's program for text files; that program reads the log while the client writes it.
void open_with_shell(HWND owner, const char* path) {
    // Loaded here, on the rare click, rather than by every start of the program.
    using ShellExecuteFunction = BOOL(WINAPI*)(SHELLEXECUTEINFOA*);
    const auto shell_execute =
        system_function<ShellExecuteFunction>("shell32.dll", "ShellExecuteExA");
    if (shell_execute == nullptr) {
        return;
    }
    // Shell handlers may be COM objects; the call waits for them before COM is let go.
    const ComApartment com;
    SHELLEXECUTEINFOA execute = {};
    execute.cbSize = sizeof execute;
    execute.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    execute.hwnd = owner;
    execute.lpFile = path;
    execute.nShow = SW_SHOWNORMAL;
    const bool opened = shell_execute(&execute) != FALSE;
    const DWORD error = GetLastError();
    // No program for .log files (Wine has none, and says so in hInstApp only): the one for text
    // files.
    if (!opened && (error == ERROR_NO_ASSOCIATION ||
                    reinterpret_cast<INT_PTR>(execute.hInstApp) == SE_ERR_NOASSOC)) {
        execute.fMask = SEE_MASK_NOASYNC | SEE_MASK_CLASSNAME;
        execute.lpClass = "txtfile";
        shell_execute(&execute);
    }
}

void append_item(HMENU menu, UINT command, unsigned text_id, bool enabled) {
    const LoadedString text(text_id);
    AppendMenuA(menu, MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), command, text.c_str());
}

// A path the shell can open, of a file that exists.
bool can_open(const char* path) {
    // The shell takes paths shorter than MAX_PATH: the item is offered only for what it opens.
    const void* const end = std::memchr(path, '\0', MAX_PATH);
    const DWORD attributes =
        end != nullptr && end != path ? GetFileAttributesA(path) : INVALID_FILE_ATTRIBUTES;
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace

bool LogListActions::handle_key(WORD virtual_key) const {
    if (GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_MENU) < 0) {
        return false;
    }
    if (virtual_key == 'C') {
        copy_selection();
        return true;
    }
    if (virtual_key == 'A') {
        select_all();
        return true;
    }
    return false;
}

void LogListActions::copy_selection() const {
    // The rows are taken here, one consistent set, and written out on a thread of their own:
    // the text of 1001 long rows is tens of megabytes, and the clipboard's system takes its
    // time over them.
    std::vector<LogList::SharedRow> rows = rows_.selected_rows();
    if (rows.empty()) {
        return;
    }
    const HWND owner = GetParent(list_);
    run_in_background([rows = std::move(rows), owner] {
        if (const HGLOBAL text = text_block(rows)) {
            put_on_clipboard(owner, text);
        }
    });
}

void LogListActions::select_all() const {
    ListView_SetItemState(list_, -1, LVIS_SELECTED, LVIS_SELECTED);
}

namespace {

// Rows scrolled up under the header are out of view too.
LONG header_bottom(HWND list) {
    RECT header = {};
    const auto control = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    if (control == nullptr || !IsWindowVisible(control) || !GetWindowRect(control, &header)) {
        return 0;
    }
    MapWindowPoints(nullptr, list, reinterpret_cast<POINT*>(&header), 2);
    return header.bottom;
}

} // namespace

POINT LogListActions::menu_point(LPARAM screen_point) const {
    POINT at = {static_cast<short>(LOWORD(screen_point)), static_cast<short>(HIWORD(screen_point))};
    if (at.x != -1 || at.y != -1) {
        return at;
    }
    // From the keyboard: under the focused row when it is in view, else the list's corner.
    RECT row = {};
    row.left = LVIR_LABEL;
    RECT view = {};
    GetClientRect(list_, &view);
    const int focused = ListView_GetNextItem(list_, -1, LVNI_FOCUSED);
    at = {0, 0};
    if (focused >= 0 &&
        SendMessageA(list_, LVM_GETITEMRECT, static_cast<WPARAM>(focused),
                     reinterpret_cast<LPARAM>(&row)) != 0 &&
        row.top >= header_bottom(list_) && row.bottom <= view.bottom) {
        at = {row.left, row.bottom};
    }
    ClientToScreen(list_, &at);
    return at;
}

HMENU LogListActions::make_menu() const {
    const HMENU menu = CreatePopupMenu();
    if (menu != nullptr) {
        append_item(menu, IDM_COPY, IDS_COPY, ListView_GetSelectedCount(list_) > 0);
        append_item(menu, IDM_SELECT_ALL, IDS_SELECT_ALL, true);
        append_item(menu, IDM_OPEN_LOG_FILE, IDS_OPEN_LOG_FILE, can_open(log_file_path_));
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        append_item(menu, IDM_FIND, IDS_FIND, true);
        append_item(menu, IDM_SAVE_LOG_AS, IDS_SAVE_LOG_AS, can_open(log_file_path_));
    }
    return menu;
}

UINT LogListActions::show_menu(HWND owner, LPARAM screen_point) const {
    const OwnedHandle<HMENU, BOOL> menu(make_menu(), DestroyMenu);
    if (!menu.is_open()) {
        return 0;
    }
    const POINT at = menu_point(screen_point);
    const auto command = static_cast<UINT>(
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr));
    switch (command) {
    case IDM_COPY:
        copy_selection();
        return 0;
    case IDM_SELECT_ALL:
        select_all();
        return 0;
    case IDM_OPEN_LOG_FILE:
        open_with_shell(owner, log_file_path_);
        return 0;
    default:
        return command; // the page's, or 0: dismissed
    }
}

bool can_open_log_file(const char* path) {
    return can_open(path);
}

void open_log_file(HWND owner, const char* path) {
    if (can_open(path)) {
        open_with_shell(owner, path);
    }
}
