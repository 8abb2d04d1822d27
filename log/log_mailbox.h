// Where the log follower leaves rows for the window that shows them: the follower's thread
// puts, the window's thread takes. What waits is one batch, so it never holds more rows than
// the list would keep, however long the window takes to come for them.
#pragma once

#include <mutex>

#include "log/log_batch.h"

class LogMailbox {
public:
    // Adds the batch to what waits; true when nothing waited before, so the window is to be
    // told (it takes everything that waits when told once).
    bool put(LogBatch&& batch);
    // Everything that waits, leaving the mailbox empty.
    LogBatch take();

private:
    std::mutex mutex_;
    LogBatch waiting_;
};
