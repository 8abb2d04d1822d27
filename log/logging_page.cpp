#include "log/logging_page.h"

#include <commctrl.h>

#include "app/loaded_string.h"
#include "log/list_log_view.h"
#include "log/log_follower.h"
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
     WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_NOSORTHEADER | LVS_REPORT, 10, 10, 599,
     358, 0, 0, 0},
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
                         HFONT font)
    : TabDialog(instance, parent, rectangle, ControlTable(controls), dpi, font) {}

bool LoggingPage::create() {
    TabDialog::create();
    const HWND list = controls_.get(IDC_LOG_LIST);
    const bool columns =
        insert_column(list, 0, scale_to_dpi(date_time_width, dpi_), IDS_DATE_TIME) &&
        insert_column(list, 1, entries_width(), IDS_ENTRIES);
    if (!columns) {
        return false; // nothing to tell the user: the tab just stays empty
    }
    // Workers live as long as the process.
    (new LogFollower(list))->start();
    return true;
}

int LoggingPage::entries_width() const {
    RECT list_area = {};
    GetWindowRect(controls_.get(IDC_LOG_LIST), &list_area);
    return (list_area.right - list_area.left) - scale_to_dpi(date_time_width, dpi_);
}

void LoggingPage::lay_out(const RECT& rectangle, unsigned dpi, HFONT font) {
    TabDialog::lay_out(rectangle, dpi, font);
    const HWND list = controls_.get(IDC_LOG_LIST);
    SendMessageA(list, LVM_SETCOLUMNWIDTH, 0, scale_to_dpi(date_time_width, dpi));
    SendMessageA(list, LVM_SETCOLUMNWIDTH, 1, entries_width());
}

LRESULT LoggingPage::handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wparam) == IDC_CLEAR && HIWORD(wparam) == BN_CLICKED) {
            SendMessageA(controls_.get(IDC_LOG_LIST), LVM_DELETEALLITEMS, 0, 0);
            return 0;
        }
        break;
    case WM_PAINT:
        paint_nothing(window);
        return 0;
    case WM_SHOWWINDOW:
        if (wparam != 0) {
            return 0;
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lparam);
        if (header != nullptr && header->idFrom == IDC_LOG_LIST && header->code == LVN_KEYDOWN &&
            LogListActions(controls_.get(IDC_LOG_LIST))
                .handle_key(reinterpret_cast<const NMLVKEYDOWN*>(lparam)->wVKey)) {
            return 0;
        }
        break;
    }
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wparam) == controls_.get(IDC_LOG_LIST)) {
            LogListActions(controls_.get(IDC_LOG_LIST)).show_menu(window, lparam);
            return 0;
        }
        break;
    case ListLogView::run_work_message:
        // Only the follower of this process sends it, with work that outlives the send.
        if (lparam != 0 && InSendMessage()) {
            (*reinterpret_cast<const std::function<void()>*>(lparam))();
            return ListLogView::work_done;
        }
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}
