#include "log/log_list_actions.h"

#include <commctrl.h>
#include <cstring>
#include <shellapi.h>
#include <string>
#include <vector>

#include "base/com_apartment.h"
#include "base/loaded_string.h"
#include "base/opened_clipboard.h"
#include "base/owned_handle.h"
#include "base/system_function.h"
#include "res/resource.h"

namespace {

// A cell's whole text, however long the log line was.
std::string cell_text(HWND list, int row, int column) {
    std::vector<char> buffer(256);
    for (;;) {
        LVITEMA item = {};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        const auto length = static_cast<std::size_t>(SendMessageA(
            list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
        if (length + 1 < buffer.size()) {
            return std::string(buffer.data(), length);
        }
        buffer.resize(buffer.size() * 2);
    }
}

// A movable block for the clipboard, which owns it once SetClipboardData has taken it.
HGLOBAL clipboard_block(const void* data, std::size_t size) {
    const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    void* const at = block != nullptr ? GlobalLock(block) : nullptr;
    if (at == nullptr) {
        GlobalFree(block);
        return nullptr;
    }
    std::memcpy(at, data, size);
    GlobalUnlock(block);
    return block;
}

void hand_to_clipboard(UINT format, HGLOBAL block) {
    if (block != nullptr && SetClipboardData(format, block) == nullptr) {
        GlobalFree(block);
    }
}

// The text in the ANSI and the Unicode format: every editor then pastes it as written, whatever
// it asks for and whatever the clipboard's own conversion would have made of it.
void put_on_clipboard(HWND owner, const std::string& text) {
    const int wide_length =
        MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size() + 1), nullptr, 0);
    std::vector<wchar_t> wide(wide_length > 0 ? wide_length : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size() + 1), wide.data(),
                        static_cast<int>(wide.size()));
    const OpenedClipboard clipboard(owner);
    if (!clipboard.is_open()) {
        return; // held elsewhere: nothing copied, and nothing to tell
    }
    EmptyClipboard();
    hand_to_clipboard(CF_TEXT, clipboard_block(text.c_str(), text.size() + 1));
    hand_to_clipboard(CF_UNICODETEXT, clipboard_block(wide.data(), wide.size() * sizeof(wchar_t)));
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
    // The follower's rows reach the list as messages to this thread, which owns it: while this
    // runs no row comes or goes, so the text is one consistent set of rows.
    std::string text;
    for (int row = ListView_GetNextItem(list_, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(list_, row, LVNI_SELECTED)) {
        text += cell_text(list_, row, 0);
        text += '\t';
        text += cell_text(list_, row, 1);
        text += "\r\n";
    }
    if (!text.empty()) {
        put_on_clipboard(GetParent(list_), text);
    }
}

void LogListActions::select_all() const {
    ListView_SetItemState(list_, -1, LVIS_SELECTED, LVIS_SELECTED);
}

POINT LogListActions::menu_point(LPARAM screen_point) const {
    POINT at = {static_cast<short>(LOWORD(screen_point)), static_cast<short>(HIWORD(screen_point))};
    if (at.x != -1 || at.y != -1) {
        return at;
    }
    // From the keyboard: under the focused row when it is in view, else the list's corner.
    RECT row = {};
    row.left = LVIR_LABEL;
    const int focused = ListView_GetNextItem(list_, -1, LVNI_FOCUSED);
    at = {0, 0};
    if (focused >= 0 && SendMessageA(list_, LVM_GETITEMRECT, static_cast<WPARAM>(focused),
                                     reinterpret_cast<LPARAM>(&row)) != 0) {
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
    }
    return menu;
}

void LogListActions::show_menu(HWND owner, LPARAM screen_point) const {
    const OwnedHandle<HMENU, BOOL> menu(make_menu(), DestroyMenu);
    if (!menu.is_open()) {
        return;
    }
    const POINT at = menu_point(screen_point);
    switch (TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, owner,
                           nullptr)) {
    case IDM_COPY:
        copy_selection();
        break;
    case IDM_SELECT_ALL:
        select_all();
        break;
    case IDM_OPEN_LOG_FILE:
        open_with_shell(owner, log_file_path_);
        break;
    default:
        break; // dismissed
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
