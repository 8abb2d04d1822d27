// The thread that follows the client's log: it catches up with what the log holds, then waits
// at its end, a second at a time, for more. What it reads goes to the mailbox, and the window
// is told by a posted message; it never touches a window itself.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "base/worker_thread.h"
#include "log/log_mailbox.h"

class LogFollower : public WorkerThread {
public:
    LogFollower(std::string path, std::shared_ptr<LogMailbox> mailbox, HWND window)
        : path_(std::move(path)), mailbox_(std::move(mailbox)), window_(window) {}

    // Never returns.
    bool run() override;

private:
    std::string path_;
    std::shared_ptr<LogMailbox> mailbox_; // outlives the window: a late batch lands here
    HWND window_;
};
