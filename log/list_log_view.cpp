#include "log/list_log_view.h"

#include <commctrl.h>

#include "app/main_window.h"
#include "app/message_box.h"
#include "app/startup.h"
#include "res/resource.h"

int ListLogView::insert_row(int position, const char* date_time) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_STATE;
    item.iItem = position;
    item.iSubItem = 0;
    item.pszText = const_cast<char*>(date_time);
    return static_cast<int>(
        SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

void ListLogView::set_entry(int row, const char* entry) {
    LVITEMA item = {};
    item.iSubItem = 1;
    item.pszText = const_cast<char*>(entry);
    SendMessageA(list_, LVM_SETITEMTEXTA, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
}

void ListLogView::scroll(int pixels) {
    if (quiet_) {
        // A list that does not redraw does not scroll either: keep it for the end of the batch.
        held_scroll_ += pixels;
        return;
    }
    SendMessageA(list_, LVM_SCROLL, 0, pixels);
}

void ListLogView::delete_first_row() {
    SendMessageA(list_, LVM_DELETEITEM, 0, 0);
}

void ListLogView::show_stop_warning() {
    HWND owner = nullptr;
    if (main_window != nullptr) {
        main_window->show_logging_tab();
        owner = main_window->handle();
    }
    show_message_box(owner, IDS_ERR_CLIENT_QUIT, MB_ICONEXCLAMATION | MB_OK);
}

void ListLogView::in_one_go(const std::function<void()>& work) {
    // Redrawn once for all the rows: a visible list would otherwise scroll its pixels for each.
    // The scroll comes before the one repaint, so the rows are drawn once, where they end up.
    // Three steps, each its own message: the window answers between them (turning redraw on
    // again alone can cost a list under Wine some 40 ms).
    on_list_thread([this, &work] {
        SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
        quiet_ = true;
        work();
        quiet_ = false;
    });
    on_list_thread([this] { SendMessageA(list_, WM_SETREDRAW, TRUE, 0); });
    on_list_thread([this] {
        if (held_scroll_ != 0) {
            SendMessageA(list_, LVM_SCROLL, 0, held_scroll_);
            held_scroll_ = 0;
        }
        InvalidateRect(list_, nullptr, TRUE);
    });
}

void ListLogView::on_list_thread(const std::function<void()>& work) {
    const bool same_thread = GetWindowThreadProcessId(list_, nullptr) == GetCurrentThreadId();
    if (same_thread || SendMessageA(GetParent(list_), run_work_message, 0,
                                    reinterpret_cast<LPARAM>(&work)) != work_done) {
        work();
    }
}
