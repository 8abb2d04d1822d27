#include "log/log_list.h"

#include <commctrl.h>

namespace {

int row_count(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

} // namespace

void LogList::add_rows(const std::vector<LogRow>& rows) {
    if (rows.empty()) {
        return;
    }
    // Drawn once for all the rows: a visible list would otherwise scroll and paint for each.
    if (!quiet_) {
        SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
        quiet_ = true;
    }
    for (const LogRow& row : rows) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_STATE;
        item.iItem = row_count(list_); // at the end
        item.pszText = const_cast<char*>(row.date_time.c_str());
        const auto position = static_cast<int>(
            SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        if (position >= 0) {
            LVITEMA entry = {};
            entry.iSubItem = 1;
            entry.pszText = const_cast<char*>(row.entry.c_str());
            SendMessageA(list_, LVM_SETITEMTEXTA, static_cast<WPARAM>(position),
                         reinterpret_cast<LPARAM>(&entry));
        }
    }
    while (row_count(list_) > static_cast<int>(LogBatch::row_limit)) {
        SendMessageA(list_, LVM_DELETEITEM, 0, 0);
    }
}

void LogList::draw_added_rows() {
    if (!quiet_) {
        return;
    }
    quiet_ = false;
    SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    // The newest row in view, then the one repaint, so the rows are drawn once, where they end up.
    const int rows = row_count(list_);
    if (rows > 0) {
        SendMessageA(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(rows - 1), FALSE);
    }
    InvalidateRect(list_, nullptr, TRUE);
}
