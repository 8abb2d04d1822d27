#include "log/log_list.h"

void LogList::add_rows(std::vector<LogRow>&& rows) {
    if (rows.empty() || list_ == nullptr) {
        return;
    }
    for (LogRow& row : rows) {
        rows_.push_back(std::make_shared<const LogRow>(std::move(row)));
    }
    if (rows_.size() > LogBatch::row_limit) {
        drop_oldest(rows_.size() - LogBatch::row_limit);
    }
    SendMessageA(list_, LVM_SETITEMCOUNT, rows_.size(), 0);
    SendMessageA(list_, LVM_ENSUREVISIBLE, rows_.size() - 1, FALSE);
}

void LogList::drop_oldest(std::size_t count) {
    std::vector<int> selected;
    for (int index = ListView_GetNextItem(list_, -1, LVNI_SELECTED); index >= 0;
         index = ListView_GetNextItem(list_, index, LVNI_SELECTED)) {
        if (index >= static_cast<int>(count)) {
            selected.push_back(index - static_cast<int>(count));
        }
    }
    const int focused = ListView_GetNextItem(list_, -1, LVNI_FOCUSED);
    ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    rows_.erase(rows_.begin(), rows_.begin() + static_cast<std::ptrdiff_t>(count));
    SendMessageA(list_, LVM_SETITEMCOUNT, rows_.size(), 0);
    for (const int index : selected) {
        ListView_SetItemState(list_, index, LVIS_SELECTED, LVIS_SELECTED);
    }
    if (focused >= static_cast<int>(count)) {
        ListView_SetItemState(list_, focused - static_cast<int>(count), LVIS_FOCUSED, LVIS_FOCUSED);
    }
}

std::vector<LogList::SharedRow> LogList::selected_rows() const {
    std::vector<SharedRow> selected;
    for (int index = ListView_GetNextItem(list_, -1, LVNI_SELECTED);
         index >= 0 && index < row_count();
         index = ListView_GetNextItem(list_, index, LVNI_SELECTED)) {
        selected.push_back(rows_[static_cast<std::size_t>(index)]);
    }
    return selected;
}

void LogList::clear() {
    rows_.clear();
    SendMessageA(list_, LVM_SETITEMCOUNT, 0, 0);
}

void LogList::give_text(NMLVDISPINFOA& info) const {
    LVITEMA& item = info.item;
    if ((item.mask & LVIF_TEXT) == 0 || item.iItem < 0 || item.iItem >= row_count()) {
        return;
    }
    // The list copies from here before anything can change the row.
    const LogRow& shown = row(item.iItem);
    item.pszText =
        const_cast<char*>(item.iSubItem == 0 ? shown.date_time.c_str() : shown.entry.c_str());
}
