// Where the log reader sends what it read: batches of rows for the list, with the stop lines
// among them. The program hands them to the window's thread, which owns the list.
#pragma once

#include "log/log_batch.h"

class LogView {
public:
    virtual ~LogView() = default;

    // The rows read since the last batch, oldest first, and the warnings they bring.
    virtual void show(LogBatch&& batch) = 0;
};
