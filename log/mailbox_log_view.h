// The log reader's batches left in a mailbox for the window's thread, which a posted message
// tells to come for them. Used on the reading thread; it never touches a window.
#pragma once

#include <windows.h>

#include "log/log_mailbox.h"
#include "log/log_view.h"

class MailboxLogView : public LogView {
public:
    MailboxLogView(LogMailbox& mailbox, HWND window) : mailbox_(mailbox), window_(window) {}

    void show(LogBatch&& batch) override;

private:
    LogMailbox& mailbox_;
    HWND window_;
};
