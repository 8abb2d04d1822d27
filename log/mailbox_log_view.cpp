#include "log/mailbox_log_view.h"

#include <utility>

#include "base/private_message.h"

void MailboxLogView::show(LogBatch&& batch) {
    // Told once for everything that waits. A window that is gone takes nothing: what waits is
    // dropped, so nothing piles up.
    if (mailbox_.put(std::move(batch)) &&
        !post_private_message(window_, private_message::log_rows)) {
        mailbox_.take();
    }
}
