// The worker that polls the service every half second and posts its state to the main window
// when it changes; while the service cannot be opened it looks for it once a second.
#pragma once

#include <windows.h>

#include <atomic>

#include "base/worker_thread.h"

class StatusMonitor : public WorkerThread {
public:
    explicit StatusMonitor(HWND window) : window_(window) {}

    // Opens the service on its own thread, then polls it; never returns.
    bool run() override;
    // The next state polled is posted even when it has not changed. From any thread.
    void report_next() { report_next_ = true; }

private:
    void post(DWORD state);

    HWND window_;
    DWORD posted_ = ~0ul; // none yet
    std::atomic<bool> report_next_{false};
};
