// The Logging page's list and the rows it shows. The rows are kept here, and the list, a
// virtual list view, asks for the text of the cells it draws: a row costs one copy of its text,
// and adding a batch costs one message however many rows it brings.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <deque>
#include <memory>
#include <vector>

#include "log/log_batch.h"

struct ListView;

class LogList {
public:
    // A row never changes once made: a copy of the selection can go on reading the rows it
    // took while the list drops them.
    using SharedRow = std::shared_ptr<const LogRow>;

    explicit LogList(HWND list = nullptr) : list_(list) {}

    // The rows at the end of the list, the oldest beyond the row limit dropped (the rows the
    // user selected stay selected). The newest come into view while the user looks at the
    // end; otherwise the rows in view stay there.
    void add_rows(std::vector<LogRow>&& rows);
    void clear();

    // The answer to the list's LVN_GETDISPINFOA: the text of a cell, from the rows kept here.
    void give_text(NMLVDISPINFOA& info) const;

    int row_count() const { return static_cast<int>(rows_.size()); }
    const LogRow& row(int index) const { return *rows_[static_cast<std::size_t>(index)]; }
    // The selected rows, oldest first.
    std::vector<SharedRow> selected_rows() const;
    HWND handle() const { return list_; }

private:
    // Selection and focus follow their rows when the oldest rows go.
    void drop_oldest(std::size_t count);
    ListView view() const;
    void scroll_to(int top);

    HWND list_;
    std::deque<SharedRow> rows_;
};
