// The worker that polls the service every half second and posts its state to the main window;
// while the service cannot be opened it looks for it once a second.
#pragma once

#include <windows.h>

#include "base/worker_thread.h"

class StatusMonitor : public WorkerThread {
public:
    explicit StatusMonitor(HWND window) : window_(window) {}

    // Opens the service on its own thread, then polls it; never returns.
    bool run() override;

private:
    void post(DWORD state) const;

    HWND window_;
};
