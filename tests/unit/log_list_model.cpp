#include "unit/log_list_model.h"

#include <algorithm>

int LogListModel::insert_row(int position, const char* date_time) {
    ++messages;
    requested_positions.push_back(position);
    if (refuse_rows || position < 0) {
        return -1;
    }
    const auto at = std::min(static_cast<std::size_t>(position), rows.size());
    rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(at), Row(date_time, ""));
    return static_cast<int>(at);
}

void LogListModel::set_entry(int row, const char* entry) {
    ++messages;
    if (row >= 0 && static_cast<std::size_t>(row) < rows.size()) {
        rows[static_cast<std::size_t>(row)].second = entry;
    }
}

void LogListModel::scroll(int pixels) {
    ++messages;
    scrolled += pixels;
}

void LogListModel::delete_first_row() {
    ++messages;
    if (!rows.empty()) {
        rows.erase(rows.begin());
    }
}

void LogListModel::show_stop_warning() {
    warnings.push_back(rows.size());
}

void LogListModel::in_one_go(const std::function<void()>& work) {
    ++batches;
    work();
}
