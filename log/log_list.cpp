#include "log/log_list.h"

#include <algorithm>

#include "log/log_follow.h"

void LogList::add_rows(std::vector<LogRow>&& rows) {
    if (rows.empty() || list_ == nullptr) {
        return;
    }
    const ListView before = view();
    for (LogRow& row : rows) {
        rows_.push_back(std::make_shared<const LogRow>(std::move(row)));
    }
    const std::size_t dropped =
        rows_.size() > LogBatch::row_limit ? rows_.size() - LogBatch::row_limit : 0;
    if (dropped > 0) {
        drop_oldest(dropped);
    }
    // Setting the count costs Wine's list some 11 ms whatever changes: a full list whose rows
    // only moved up needs just a repaint.
    if (ListView_GetItemCount(list_) != row_count()) {
        SendMessageA(list_, LVM_SETITEMCOUNT, rows_.size(), LVSICF_NOSCROLL);
    } else {
        InvalidateRect(list_, nullptr, FALSE);
    }
    const FollowDecision decision = decide_follow(before, static_cast<int>(dropped));
    if (decision.follow) {
        SendMessageA(list_, LVM_ENSUREVISIBLE, rows_.size() - 1, FALSE);
    } else {
        scroll_to(decision.top);
    }
}

ListView LogList::view() const {
    const auto top = static_cast<int>(SendMessageA(list_, LVM_GETTOPINDEX, 0, 0));
    const auto per_page = static_cast<int>(SendMessageA(list_, LVM_GETCOUNTPERPAGE, 0, 0));
    const int last = row_count() - 1;
    bool selection_in_view = false;
    for (int row = ListView_GetNextItem(list_, top - 1, LVNI_SELECTED);
         row >= 0 && row < top + per_page && row < last && !selection_in_view;
         row = ListView_GetNextItem(list_, row, LVNI_SELECTED)) {
        selection_in_view = true;
    }
    return {row_count(), top, per_page, selection_in_view};
}

void LogList::scroll_to(int top) {
    RECT row = {};
    row.left = LVIR_BOUNDS;
    const int now = static_cast<int>(SendMessageA(list_, LVM_GETTOPINDEX, 0, 0));
    if (top == now ||
        SendMessageA(list_, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)) == 0) {
        return;
    }
    // A report list scrolls by pixels, a row's height a row.
    SendMessageA(list_, LVM_SCROLL, 0, (top - now) * (row.bottom - row.top));
}

void LogList::drop_oldest(std::size_t count) {
    // Every row selected (Ctrl+A) stays so in one message: a row at a time, a full list's
    // selection would hold the window for each row the log brings.
    const int shown = ListView_GetItemCount(list_); // the new rows are not in it yet
    const bool all = shown > 0 && ListView_GetSelectedCount(list_) == static_cast<UINT>(shown);
    std::vector<int> selected;
    for (int index = all ? -1 : ListView_GetNextItem(list_, -1, LVNI_SELECTED); index >= 0;
         index = ListView_GetNextItem(list_, index, LVNI_SELECTED)) {
        if (index >= static_cast<int>(count)) {
            selected.push_back(index - static_cast<int>(count));
        }
    }
    const int focused = ListView_GetNextItem(list_, -1, LVNI_FOCUSED);
    ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    rows_.erase(rows_.begin(), rows_.begin() + static_cast<std::ptrdiff_t>(count));
    if (all) {
        ListView_SetItemState(list_, -1, LVIS_SELECTED, LVIS_SELECTED);
        // Only the rows there were: the list still counts those it showed, and the rows it
        // gains come unselected.
        for (int index = std::max(0, shown - static_cast<int>(count)); index < shown; ++index) {
            ListView_SetItemState(list_, index, 0, LVIS_SELECTED);
        }
    }
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
    if (item.iItem < 0 || item.iItem >= row_count()) {
        return;
    }
    // The list copies from here before anything can change the row.
    const LogRow& shown = row(item.iItem);
    if ((item.mask & LVIF_IMAGE) != 0) {
        item.iImage = shown.stop ? 0 : I_IMAGENONE; // the warning icon
    }
    if ((item.mask & LVIF_TEXT) != 0) {
        item.pszText =
            const_cast<char*>(item.iSubItem == 0 ? shown.date_time.c_str() : shown.entry.c_str());
    }
}
