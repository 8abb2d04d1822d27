#include "log/log_batch.h"

#include <iterator>

void LogBatch::append(LogBatch&& newer) {
    warnings += newer.warnings;
    newer.warnings = 0;
    if (rows.empty()) {
        rows = std::move(newer.rows);
    } else {
        rows.insert(rows.end(), std::make_move_iterator(newer.rows.begin()),
                    std::make_move_iterator(newer.rows.end()));
    }
    newer.rows.clear();
    if (rows.size() > row_limit) {
        rows.erase(rows.begin(), rows.end() - static_cast<std::ptrdiff_t>(row_limit));
    }
}
