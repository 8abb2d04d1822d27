#include "log/logging_page.h"

#include <algorithm>
#include <commctrl.h>

#include "base/bounded_text.h"
#include "base/loaded_string.h"
#include "log/log_list_actions.h"
#include "res/resource.h"
#include "ui/child_controls.h"
#include "ui/dpi_scale.h"

namespace {

constexpr int date_time_width = 120; // at least, whatever the dates are
// What a cell adds to its text's width, either side, at 96 DPI.
constexpr int cell_margins = 12;
constexpr std::size_t tip_capacity = 1024;

// In reading order, which is the Tab key's. The list is the page's width (619) less 20.
const ControlRow controls[] = {
    {WC_LISTVIEWA, IDC_LOG_LIST, 0,
     WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_NOSORTHEADER | LVS_REPORT | LVS_OWNERDATA,
     10, 10, 599, 358, 0, 0, 0},
    {"BUTTON", IDC_CLEAR, IDS_CLEAR, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 539, 378,
     73, 23, 0, 0, 0},
};

int text_width(HWND list, const char* text) {
    return static_cast<int>(
        SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text)));
}

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
    // A click anywhere on a row selects it; an entry cut at the column's edge shows whole in
    // a tip.
    SendMessageA(list(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP,
                 LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
    // Nothing to tell the user when a column is refused: the tab just stays empty.
    const bool made =
        insert_column(list(), 0, scale_to_dpi(date_time_width, dpi_), IDS_DATE_TIME) &&
        insert_column(list(), 1, 0, IDS_ENTRIES);
    fit_columns();
    return made;
}

void LoggingPage::fit_columns() {
    // The dates whole in the list's font, the header's text too; the entries take the rest
    // of the list's inside, so no scroll bar shows for nothing.
    const int margins = 2 * scale_to_dpi(cell_margins, dpi_);
    int dates = std::max(scale_to_dpi(date_time_width, dpi_),
                         text_width(list(), LoadedString(IDS_DATE_TIME).c_str()) + margins);
    for (int row = 0; row < rows_.row_count(); ++row) {
        dates = std::max(dates, text_width(list(), rows_.row(row).date_time.c_str()) + margins);
    }
    RECT inside = {};
    GetClientRect(list(), &inside);
    SendMessageA(list(), LVM_SETCOLUMNWIDTH, 0, dates);
    SendMessageA(list(), LVM_SETCOLUMNWIDTH, 1,
                 std::max(0, static_cast<int>(inside.right) - dates));
}

void LoggingPage::add_rows(std::vector<LogRow>&& rows) {
    // Only a date wider than the column so far widens it, and only the scroll bar that the
    // rows bring narrows the list's inside.
    const int margins = 2 * scale_to_dpi(cell_margins, dpi_);
    const int shown = static_cast<int>(SendMessageA(list(), LVM_GETCOLUMNWIDTH, 0, 0));
    bool wider = false;
    for (const LogRow& row : rows) {
        wider = wider || text_width(list(), row.date_time.c_str()) + margins > shown;
    }
    RECT before = {}, after = {};
    GetClientRect(list(), &before);
    rows_.add_rows(std::move(rows));
    GetClientRect(list(), &after);
    if (wider || before.right != after.right) {
        fit_columns();
    }
}

void LoggingPage::lay_out(const RECT& rectangle, unsigned dpi, HFONT font) {
    TabDialog::lay_out(rectangle, dpi, font);
    fit_columns();
}

void LoggingPage::give_tip(NMLVGETINFOTIPA& tip) const {
    // Only an entry the column cuts: one that shows whole needs no tip.
    if (tip.iItem < 0 || tip.iItem >= rows_.row_count() || tip.cchTextMax <= 0) {
        return;
    }
    const std::string& entry = rows_.row(tip.iItem).entry;
    const int column = static_cast<int>(SendMessageA(list(), LVM_GETCOLUMNWIDTH, 1, 0));
    if (text_width(list(), entry.c_str()) + 2 * scale_to_dpi(cell_margins, dpi_) <= column) {
        return;
    }
    copy_text(tip.pszText, std::min(static_cast<std::size_t>(tip.cchTextMax), tip_capacity),
              entry.c_str());
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
    if (header->code == LVN_GETINFOTIPA) {
        give_tip(*reinterpret_cast<NMLVGETINFOTIPA*>(lparam));
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
