#include "log/log_mailbox.h"

#include <utility>

bool LogMailbox::put(LogBatch&& batch) {
    const std::lock_guard<std::mutex> lock(mutex_);
    const bool was_empty = waiting_.empty();
    waiting_.append(std::move(batch));
    return was_empty && !waiting_.empty();
}

LogBatch LogMailbox::take() {
    const std::lock_guard<std::mutex> lock(mutex_);
    return std::exchange(waiting_, LogBatch());
}
