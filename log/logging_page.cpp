#include "log/logging_page.h"

#include <commctrl.h>

#include "base/loaded_string.h"
#include "log/log_list_actions.h"
#include "res/resource.h"
#include "ui/child_controls.h"
#include "ui/dpi_scale.h"

namespace {

constexpr int date_time_width = 120;

// The list is the page's width (619) less 20.
const ControlRow controls[] = {
    {"BUTTON", IDC_CLEAR, IDS_CLEAR, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 539, 378,
     73, 23, 0, 0, 0},
    {WC_LISTVIEWA, IDC_LOG_LIST, 0,
     WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_NOSORTHEADER | LVS_REPORT | LVS_OWNERDATA,
     10, 10, 599, 358, 0, 0, 0},
};

bool insert_column(HWND list, int subitem, int width, unsigned text_id) {
    const LoadedString text(text_id);
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.iSubItem = subitem;
    column.pszText = const_cast<char*>(text.c_str());
    return SendMessageA(list, LVM_INSERTCOLUMNA, subitem, reinterpret_cast<LPARAM>(&column)) >= 0;
}

} // namespace

LoggingPage::LoggingPage(HINSTANCE instance, HWND parent, const RECT* rectangle, unsigned dpi,
                         HFONT font, const char* log_file_path)
    : TabDialog(instance, parent, rectangle, ControlTable(controls), dpi, font),
      log_file_path_(log_file_path) {}

HWND LoggingPage::list() const {
    return controls_.get(IDC_LOG_LIST);
}

bool LoggingPage::create() {
    TabDialog::create();
    rows_ = LogList(list());
    // Nothing to tell the user when a column is refused: the tab just stays empty.
    return insert_column(list(), 0, scale_to_dpi(date_time_width, dpi_), IDS_DATE_TIME) &&
           insert_column(list(), 1, entries_width(), IDS_ENTRIES);
}

int LoggingPage::entries_width() const {
    RECT list_area = {};
    GetWindowRect(list(), &list_area);
    return (list_area.right - list_area.left) - scale_to_dpi(date_time_width, dpi_);
}

void LoggingPage::lay_out(const RECT& rectangle, unsigned dpi, HFONT font) {
    TabDialog::lay_out(rectangle, dpi, font);
    SendMessageA(list(), LVM_SETCOLUMNWIDTH, 0, scale_to_dpi(date_time_width, dpi));
    SendMessageA(list(), LVM_SETCOLUMNWIDTH, 1, entries_width());
}

LRESULT LoggingPage::on_command(HWND window, WPARAM wparam, LPARAM lparam) {
    if (LOWORD(wparam) == IDC_CLEAR && HIWORD(wparam) == BN_CLICKED) {
        rows_.clear();
        return 0;
    }
    return DefWindowProcA(window, WM_COMMAND, wparam, lparam);
}

LRESULT LoggingPage::on_notify(HWND window, WPARAM wparam, LPARAM lparam) {
    const auto* header = reinterpret_cast<const NMHDR*>(lparam);
    if (header == nullptr || header->hwndFrom != list()) {
        return DefWindowProcA(window, WM_NOTIFY, wparam, lparam);
    }
    if (header->code == LVN_GETDISPINFOA) {
        rows_.give_text(*reinterpret_cast<NMLVDISPINFOA*>(lparam));
        return 0;
    }
    if (header->code == LVN_KEYDOWN &&
        LogListActions(rows_, log_file_path_.c_str())
            .handle_key(reinterpret_cast<const NMLVKEYDOWN*>(lparam)->wVKey)) {
        return 0;
    }
    return DefWindowProcA(window, WM_NOTIFY, wparam, lparam);
}

LRESULT LoggingPage::on_context_menu(HWND window, WPARAM wparam, LPARAM lparam) {
    if (reinterpret_cast<HWND>(wparam) == list()) {
        LogListActions(rows_, log_file_path_.c_str()).show_menu(window, lparam);
        return 0;
    }
    return DefWindowProcA(window, WM_CONTEXTMENU, wparam, lparam);
}

LRESULT LoggingPage::handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_COMMAND:
        return on_command(window, wparam, lparam);
    case WM_NOTIFY:
        return on_notify(window, wparam, lparam);
    case WM_CONTEXTMENU:
        return on_context_menu(window, wparam, lparam);
    case WM_PAINT:
        paint_nothing(window);
        return 0;
    case WM_SHOWWINDOW:
        return wparam != 0 ? 0 : DefWindowProcA(window, message, wparam, lparam);
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wparam, lparam);
    }
}
