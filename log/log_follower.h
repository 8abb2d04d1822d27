// The thread that follows the client's log into the Logging page's list: it catches up
// with what the log holds, then waits at its end, a second at a time, for more.
#pragma once

#include <windows.h>

#include "service/worker_thread.h"

class LogFollower : public WorkerThread {
public:
    explicit LogFollower(HWND list) : list_(list) {}

    // Ends at once without a list; otherwise never returns.
    bool run() override;

private:
    HWND list_;
};
