// A list as the reader's tests see it: rows of two texts, where an insertion beyond the
// end lands at the end as in a list view, and a record of the warnings shown.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "log/log_view.h"

class LogListModel : public LogView {
public:
    using Row = std::pair<std::string, std::string>; // Date/Time, entry

    int insert_row(int position, const char* date_time) override;
    void set_entry(int row, const char* entry) override;
    void scroll(int pixels) override;
    void delete_first_row() override;
    void show_stop_warning() override;
    void in_one_go(const std::function<void()>& work) override;

    void clear() { rows.clear(); }

    std::vector<Row> rows;
    std::vector<int> requested_positions;
    long long scrolled = 0;
    int messages = 0;
    // The number of rows each warning found in the list when it was shown.
    std::vector<std::size_t> warnings;
    bool refuse_rows = false;
    int batches = 0;
};
