#include "log/logging_page.h"

#include <commctrl.h>

#include "app/loaded_string.h"
#include "log/list_log_view.h"
#include "log/log_follower.h"
#include "res/resource.h"
#include "ui/child_controls.h"

namespace {

constexpr int date_time_width = 120;

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

LoggingPage::LoggingPage(HINSTANCE instance, HWND parent, const RECT* rectangle)
    : TabDialog(instance, parent, rectangle) {}

bool LoggingPage::create() {
    TabDialog::create();

    clear_button_ =
        create_child_control(window_, page_instance_, "BUTTON", IDC_CLEAR, IDS_CLEAR,
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 539, 378, 73, 23);
    list_ = CreateWindowExA(
        0, WC_LISTVIEWA, nullptr,
        WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_NOSORTHEADER | LVS_REPORT, 10, 10,
        width() - 20, 358, window_, reinterpret_cast<HMENU>(IDC_LOG_LIST), page_instance_, nullptr);

    RECT list_area = {};
    bool columns = insert_column(list_, 0, date_time_width, IDS_DATE_TIME);
    if (columns) {
        GetWindowRect(list_, &list_area);
        columns = insert_column(list_, 1, (list_area.right - list_area.left) - date_time_width,
                                IDS_ENTRIES);
    }
    if (!columns) {
        return false; // nothing to tell the user: the tab just stays empty
    }
    // Workers live as long as the process.
    (new LogFollower(list_))->start();
    return true;
}

LRESULT LoggingPage::handle_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wparam) == IDC_CLEAR && HIWORD(wparam) == BN_CLICKED) {
            SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
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
